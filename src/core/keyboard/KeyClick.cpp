#include "core/keyboard/KeyClick.h"

#include "core/keyboard/KeyboardLayout.h"

namespace trevolin::keyboard {

std::optional<KeyAssignmentTarget> KeyAssignmentTargetOf(uint32_t controlId, bool gKeyBankB)
{
    const std::optional<uint16_t> keyNumber = KeyNumberOfControl(controlId, gKeyBankB);
    if (!keyNumber)
        return std::nullopt;
    return KeyAssignmentTarget{static_cast<uint16_t>(controlId), *keyNumber, controlId == MacroOnlyControlId};
}

KeyClickDecision DecideKeyClick(uint32_t controlId, bool lightingViewOn, bool gKeyBankB)
{
    const std::optional<KeyRef> key = FindKeyButton(controlId);
    if (!key)
        return {};
    const auto id = static_cast<uint16_t>(controlId);
    if (lightingViewOn)
        return {KeyClickAction::PaintKey, id, {}};
    if (key->kind == KeyKind::Fn)
        return {};
    const std::optional<KeyAssignmentTarget> target = KeyAssignmentTargetOf(controlId, gKeyBankB);
    if (!target)
        return {};
    return {KeyClickAction::OpenKeyAssignment, id, *target};
}

}  // namespace trevolin::keyboard
