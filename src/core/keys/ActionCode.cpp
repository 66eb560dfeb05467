#include "core/keys/ActionCode.h"

#include "core/keyboard/KeyActionPair.h"
#include "core/keyboard/KeyConversions.h"

#include <array>
#include <cstddef>

namespace trevolin::keys {
namespace {

// Bit 0 to bit 7 of a modifier byte.
constexpr std::array<uint16_t, 8> ModifierKeyCodes = {0x1D, 0x2A, 0x38, 0x15B, 0x11D, 0x36, 0x138, 0x15C};

uint16_t MouseKeyCode(uint8_t sub, uint8_t data)
{
    if (sub == ActionCode::SubMouseButton) {
        switch (data) {
        case 1:
            return LeftButtonKeyCode;
        case 2:
            return RightButtonKeyCode;
        case 4:
            return MiddleButtonKeyCode;
        default:
            return 0;
        }
    }
    if (sub == ActionCode::SubMouseWheel) {
        if (data == ActionCode::WheelUp)
            return WheelUpKeyCode;
        if (data == ActionCode::WheelDown)
            return WheelDownKeyCode;
    }
    return 0;
}

uint16_t Usage16(ActionCode code)
{
    return static_cast<uint16_t>(code.sub | (code.data << 8));
}

}  // namespace

uint16_t DecodeActionCode(ActionCode code)
{
    using keyboard::KeyActionPair;
    switch (code.actionClass) {
    case ActionCode::ClassMouse:
        return MouseKeyCode(code.sub, code.data);
    case ActionCode::ClassKey:
        if (code.sub == ActionCode::SubUsage)
            return keyboard::ScanFromAction(KeyActionPair::KeyboardKey, code.data);
        return ModifierKeyCode(code.data);
    case ActionCode::ClassConsumer:
        return keyboard::ScanFromAction(KeyActionPair::ConsumerFunction, Usage16(code));
    case ActionCode::ClassSystem:
        return keyboard::ScanFromAction(KeyActionPair::SystemControl, Usage16(code));
    case ActionCode::ClassGKey:
        // Only 1 to 18 are G keys; 0 would alias the ordinary key number
        // 0x7F and larger numbers the unused entries past G9 of bank 1.
        if (code.sub == ActionCode::SubGKey && code.data >= 1 && code.data <= GKeyCodeCount)
            return static_cast<uint16_t>(GKeyCodeBase + code.data);
        return 0;
    default:
        return 0;
    }
}

uint16_t ModifierKeyCode(uint32_t bits)
{
    for (size_t bit = 0; bit < ModifierKeyCodes.size(); ++bit) {
        if (bits & (1u << bit))
            return ModifierKeyCodes[bit];
    }
    return 0;
}

uint8_t ModifierBitOf(uint32_t keyCode)
{
    for (size_t bit = 0; bit < ModifierKeyCodes.size(); ++bit) {
        if (ModifierKeyCodes[bit] == keyCode)
            return static_cast<uint8_t>(1u << bit);
    }
    return 0;
}

}  // namespace trevolin::keys
