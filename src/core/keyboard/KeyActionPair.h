#pragma once

#include <cstdint>

namespace trevolin::keyboard {

// What a key sends, in the terms the key assignments use: a type and a code.
struct KeyActionPair {
    uint16_t type = 0;
    uint16_t code = 0;

    bool operator==(const KeyActionPair&) const = default;

    static constexpr uint16_t Nothing = 0;
    static constexpr uint16_t SystemControl = 1;      // code 0x81..0x83
    static constexpr uint16_t MouseFunction = 2;      // code 0xF1..0xF8
    static constexpr uint16_t KeyboardKey = 7;        // code = device code
    static constexpr uint16_t ConsumerFunction = 12;  // code = consumer usage
};

}  // namespace trevolin::keyboard
