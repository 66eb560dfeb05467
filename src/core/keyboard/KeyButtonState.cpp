#include "core/keyboard/KeyButtonState.h"

#include "core/keyboard/KeyboardLayout.h"

namespace trevolin::keyboard {

bool KeyButtonEnabled(uint32_t controlId, const KeyButtonFacts& facts)
{
    if (!facts.keyboardPresent || !facts.placed || !facts.available)
        return false;
    if (controlId >= FirstFlipKey && controlId <= LastFlipKey)
        return !facts.flipped;
    if (controlId >= FirstFlipPartner && controlId <= LastFlipPartner)
        return facts.flipped;
    if (const auto key = FindKeyButton(controlId); key && key->kind == KeyKind::GKey)
        return GKeyEnabledAtStart(key->index);
    return true;
}

}  // namespace trevolin::keyboard
