#pragma once

#include <cstdint>
#include <optional>

namespace trevolin::keyboard {

// The G9 key's dialog only offers macros; the main window's macro button
// opens the dialog for it too.
inline constexpr uint16_t MacroOnlyControlId = 1143;

// What the key assignment dialog needs to open for a key.
struct KeyAssignmentTarget {
    uint16_t controlId = 0;
    uint16_t keyNumber = 0;
    bool macroOnly = false;

    bool operator==(const KeyAssignmentTarget&) const = default;
};

// A G key or layout key (not the Fn key, which cannot be assigned), with the
// G key's number in the current bank.
std::optional<KeyAssignmentTarget> KeyAssignmentTargetOf(uint32_t controlId, bool gKeyBankB);

enum class KeyClickAction {
    Nothing,
    PaintKey,           // the lighting view paints the clicked key
    OpenKeyAssignment,  // the key assignment dialog opens for `target`
};

struct KeyClickDecision {
    KeyClickAction action = KeyClickAction::Nothing;
    uint16_t controlId = 0;
    KeyAssignmentTarget target;  // only for OpenKeyAssignment

    bool operator==(const KeyClickDecision&) const = default;
};

// What a click on a key button does. The lighting view decides between
// painting and assigning; the Fn key only takes part in lighting; an id that
// is not a key button does nothing.
KeyClickDecision DecideKeyClick(uint32_t controlId, bool lightingViewOn, bool gKeyBankB);

}  // namespace trevolin::keyboard
