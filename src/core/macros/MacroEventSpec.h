#pragma once

#include "core/macros/MacroEvent.h"

#include <optional>
#include <string>
#include <string_view>

namespace trevolin::macros {

// The longest pause after an event that a macro keeps, in milliseconds.
inline constexpr uint32_t MaxEventDelayMs = 40000;

// One macro event written as text: KEY:down|up[:DELAY_MS], where KEY is an
// English key name (LeftCtrl, C, F5) or MouseLeft, MouseRight, MouseMiddle,
// WheelUp, WheelDown, and the delay (default 0) is the pause after the
// event, 0 to 40000 ms in steps of 10 ms as the keyboard keeps it (any
// other delay is refused, not rounded).
struct MacroEventSpecResult {
    std::optional<MacroEvent> event;
    std::string error;  // a sentence saying what was expected
};

MacroEventSpecResult ParseMacroEventSpec(std::string_view text);

// The mouse and wheel names an event takes besides the key names:
// "MouseLeft, MouseRight, MouseMiddle, WheelUp, WheelDown".
std::string MacroPointerNameListText();

// The text that parses back into the same event; "" for a key code that
// has no name.
std::string FormatMacroEventSpec(const MacroEvent& event);

}  // namespace trevolin::macros
