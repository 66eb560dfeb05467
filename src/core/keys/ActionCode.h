#pragma once

#include <cstdint>

namespace trevolin::keys {

// One key's action as the keyboard stores it in a key-map block: class,
// sub and data byte.
struct ActionCode {
    uint8_t actionClass = 0;
    uint8_t sub = 0;
    uint8_t data = 0;

    bool operator==(const ActionCode&) const = default;

    static constexpr uint8_t ClassNone = 0;      // 00 00 00: the key does nothing
    static constexpr uint8_t ClassMouse = 1;     // sub 1: buttons in data; sub 5: wheel step
    static constexpr uint8_t ClassKey = 2;       // sub 1: modifier bit in data; sub 2: keyboard usage
    static constexpr uint8_t ClassConsumer = 3;  // sub and data: consumer usage, low byte first
    static constexpr uint8_t ClassSystem = 4;    // sub and data: generic-desktop usage, low byte first
    static constexpr uint8_t ClassKeyboard = 5;  // sub 1: macro; sub 2: stop macro; sub 5: function
    static constexpr uint8_t ClassGKey = 6;      // sub 0xA2: G key `data`

    static constexpr uint8_t SubMouseButton = 1;
    static constexpr uint8_t SubMouseWheel = 5;
    static constexpr uint8_t SubModifier = 1;
    static constexpr uint8_t SubUsage = 2;
    static constexpr uint8_t SubPlayMacro = 1;
    static constexpr uint8_t SubStopMacro = 2;
    static constexpr uint8_t SubFunction = 5;
    static constexpr uint8_t SubGKey = 0xA2;

    static constexpr uint8_t WheelUp = 0x01;
    static constexpr uint8_t WheelDown = 0xFF;
};

// The mouse and wheel key codes a key can send.
inline constexpr uint16_t LeftButtonKeyCode = 0x171;
inline constexpr uint16_t RightButtonKeyCode = 0x172;
inline constexpr uint16_t MiddleButtonKeyCode = 0x173;
inline constexpr uint16_t WheelUpKeyCode = 0x161;
inline constexpr uint16_t WheelDownKeyCode = 0x162;

// G key n (1 to 18: G1 to G9 of bank 0, then of bank 1) has the key code
// GKeyCodeBase + n.
inline constexpr uint16_t GKeyCodeBase = 0x1FF;
inline constexpr uint8_t GKeyCodeCount = 18;

// The key a code names, or 0 when it names none. This is how a position of
// the default key map tells which key sits there.
uint16_t DecodeActionCode(ActionCode code);

// Key code of the lowest modifier bit set (0x01 left Ctrl ... 0x80 right
// Win); 0 for none.
uint16_t ModifierKeyCode(uint32_t bits);

// The modifier bit of a modifier's key code; 0 for any other key.
uint8_t ModifierBitOf(uint32_t keyCode);

}  // namespace trevolin::keys
