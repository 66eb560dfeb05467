#pragma once

#include <cstdint>
#include <string_view>

namespace trevolin::keyboard {

// One row of the key code table: everything the program knows about one key
// under its several numbers. The row's own index is derived from the scan
// value (see KeyCodeTable.h).
struct KeyCode {
    std::string_view label;        // English label; identifies the row, never shown
    std::string_view languageKey;  // TEXT key of the display name; empty when the key has none
    uint8_t vk = 0;                // Windows virtual-key code; 0xFF when the key has none
    uint8_t alternateVk = 0;       // with Num Lock off (keypad rows); equals vk elsewhere
    uint16_t keyId = 0xFFFF;       // the program's own key number, stored in macros
    uint8_t deviceCode = 0;        // what the keyboard understands; 0 = cannot be sent

    constexpr bool isEmpty() const { return keyId == EmptyKeyId; }

    static constexpr uint16_t EmptyKeyId = 0xFFFF;
};

inline constexpr uint8_t NoVk = 0xFF;

}  // namespace trevolin::keyboard
