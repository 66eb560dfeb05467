#include "core/keys/KeyActionCodec.h"

#include "core/keyboard/KeyActionPair.h"
#include "core/keyboard/KeyConversions.h"
#include "core/keys/MediaFunctions.h"
#include "core/keys/RawAction.h"

#include <optional>

namespace trevolin::keys {
namespace {

constexpr ActionCode NoAction{};

ActionCode KeyCodeToActionCode(uint32_t keyCode)
{
    if (const uint8_t bit = ModifierBitOf(keyCode))
        return {ActionCode::ClassKey, ActionCode::SubModifier, bit};
    switch (keyCode) {
    case LeftButtonKeyCode:
        return {ActionCode::ClassMouse, ActionCode::SubMouseButton, 0x01};
    case RightButtonKeyCode:
        return {ActionCode::ClassMouse, ActionCode::SubMouseButton, 0x02};
    case MiddleButtonKeyCode:
        return {ActionCode::ClassMouse, ActionCode::SubMouseButton, 0x04};
    case WheelUpKeyCode:
        return {ActionCode::ClassMouse, ActionCode::SubMouseWheel, ActionCode::WheelUp};
    case WheelDownKeyCode:
        return {ActionCode::ClassMouse, ActionCode::SubMouseWheel, ActionCode::WheelDown};
    default:
        break;
    }
    // Keys that are no keyboard keys to the keyboard (system controls,
    // mouse functions, keys without a device code) send usage 0.
    const keyboard::KeyActionPair pair = keyboard::ActionFromScan(keyCode);
    const uint8_t usage = pair.type == keyboard::KeyActionPair::KeyboardKey ? static_cast<uint8_t>(pair.code) : 0;
    return {ActionCode::ClassKey, ActionCode::SubUsage, usage};
}

uint8_t MacroPosition(uint32_t value, const MacroPositionLookup& macroPositionOfId)
{
    if (!macroPositionOfId)
        return 0;
    // Ids are 16-bit wherever the program compares them.
    const uint32_t position = macroPositionOfId(static_cast<uint16_t>(value));
    return position <= 0xFF ? static_cast<uint8_t>(position) : 0;
}

KeyAction Action(uint16_t kind, uint32_t value = 0)
{
    KeyAction action;
    action.kind = kind;
    action.value = value;
    return action;
}

}  // namespace

ActionCode EncodeKeyAction(const KeyAction& action, ActionCode defaultCode,
                           const MacroPositionLookup& macroPositionOfId)
{
    if (const std::optional<ActionCode> raw = RawCodeOf(action))
        return *raw;
    switch (action.kind) {
    case KeyAction::Default:
    case KeyAction::LaunchProgram:  // the keyboard cannot start programs
        return defaultCode;
    case KeyAction::Disabled:
    case KeyAction::TextBlock:  // nor type texts
        return NoAction;
    case KeyAction::Key:
        return KeyCodeToActionCode(action.value);
    case KeyAction::Macro:
        return {ActionCode::ClassKeyboard, ActionCode::SubPlayMacro, MacroPosition(action.value, macroPositionOfId)};
    case KeyAction::StopMacro:
        return {ActionCode::ClassKeyboard, ActionCode::SubStopMacro, 0};
    case KeyAction::Media: {
        // A media index past the table (only a damaged image holds one)
        // leaves the key its own function rather than sending a usage
        // nobody chose.
        if (action.value >= MediaFunctionCount)
            return defaultCode;
        const uint16_t usage = MediaUsage(action.value);
        return {ActionCode::ClassConsumer, static_cast<uint8_t>(usage), static_cast<uint8_t>(usage >> 8)};
    }
    case KeyAction::Function:
        return {ActionCode::ClassKeyboard, ActionCode::SubFunction, static_cast<uint8_t>(action.value)};
    default:
        // Kinds the program never produces: the key keeps its own function.
        return defaultCode;
    }
}

KeyAction DecodeKeyAction(ActionCode code)
{
    switch (code.actionClass) {
    case ActionCode::ClassKeyboard:
        switch (code.sub) {
        case ActionCode::SubPlayMacro:
            // Macros read back from the keyboard get the ids position + 1.
            return Action(KeyAction::Macro, code.data + 1u);
        case ActionCode::SubStopMacro:
            return Action(KeyAction::StopMacro);
        case ActionCode::SubFunction:
            return Action(KeyAction::Function, code.data);
        default:
            return Action(KeyAction::Disabled);
        }
    case ActionCode::ClassConsumer: {
        const auto index = MediaIndexOfUsage(static_cast<uint16_t>(code.sub | (code.data << 8)));
        return index ? Action(KeyAction::Media, *index) : Action(KeyAction::Disabled);
    }
    case ActionCode::ClassMouse:
        // Every mouse code reads as a key action; one that no key code
        // stands for carries value 0.
        return Action(KeyAction::Key, DecodeActionCode(code));
    case ActionCode::ClassKey:
        if (code.sub == ActionCode::SubUsage) {
            const uint16_t keyCode = DecodeActionCode(code);
            return keyCode != 0 ? Action(KeyAction::Key, keyCode) : Action(KeyAction::Disabled);
        }
        if (code.sub == ActionCode::SubModifier)
            return Action(KeyAction::Key, ModifierKeyCode(code.data));
        return Action(KeyAction::Disabled);
    default:
        return Action(KeyAction::Disabled);
    }
}

KeyAction DecodeKeyMapCode(ActionCode code, size_t macroCount)
{
    const KeyAction action = DecodeKeyAction(code);
    bool shown = true;
    switch (action.kind) {
    case KeyAction::Disabled:
        // Every code the decoder does not know reads as "disabled".
        shown = code == NoAction;
        break;
    case KeyAction::Key:
        shown = action.value != 0;
        break;
    case KeyAction::Macro:
        shown = code.data < macroCount;
        break;
    case KeyAction::Function:
        shown = action.value < KeyboardFunctionCount;
        break;
    default:
        break;
    }
    // Read-back macros have the ids position + 1, so the position of id n
    // is n - 1.
    const auto positionOfId = [](uint16_t id) { return id > 0 ? id - 1u : 0u; };
    if (shown && EncodeKeyAction(action, code, positionOfId) == code)
        return action;
    return RawKeyAction(code);
}

}  // namespace trevolin::keys
