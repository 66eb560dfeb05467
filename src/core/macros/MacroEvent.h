#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace trevolin::macros {

// One timed key or mouse event of a macro; 8 bytes in a macro record.
struct MacroEvent {
    static constexpr size_t Size = 8;
    static constexpr uint16_t Press = 0;
    static constexpr uint16_t Release = 1;

    uint32_t delayMs = 0;  // the pause after this event, before the next one
    uint16_t keyCode = 0;  // scan value, including the mouse and wheel codes
    uint16_t action = Press;

    bool operator==(const MacroEvent&) const = default;

    // `bytes` holds at least 8 bytes.
    static MacroEvent Read(std::span<const uint8_t> bytes);
    void Write(std::span<uint8_t> bytes) const;
};

}  // namespace trevolin::macros
