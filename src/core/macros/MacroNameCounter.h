#pragma once

#include "core/base/TextLookup.h"
#include "core/macros/Macro.h"
#include "core/platform/Clock.h"

#include <span>
#include <string>
#include <string_view>

namespace trevolin::macros {

// The language text that default macro names start with; a number follows.
inline constexpr std::string_view MacroNewPrefixKey = "MACRO_NEW_PREFIX";

// The default name of the next macro a dialog adds: the "MACRO_NEW_PREFIX"
// text followed by a counter that belongs to the open dialog.
class MacroNameCounter {
public:
    // Starts again from 1 when `list` is empty; otherwise counts on. A
    // candidate is passed over while some name in `list` begins with it
    // (letters compared without regard to case), and each further try
    // comes 16 ms after the one before.
    std::u16string NextName(std::span<const Macro> list, const base::TextLookup& texts, platform::Clock& clock);

    int Value() const { return counter_; }
    void Reset() { counter_ = 0; }

private:
    int counter_ = 0;
};

// The "MACRO_NEW_PREFIX" text followed by `number`, cut to fit a record.
std::u16string DefaultMacroName(const base::TextLookup& texts, int number);

}  // namespace trevolin::macros
