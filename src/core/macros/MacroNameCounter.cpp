#include "core/macros/MacroNameCounter.h"

#include "core/base/FormatText.h"
#include "core/macros/MacroText.h"

#include <algorithm>

namespace trevolin::macros {

namespace {

constexpr uint32_t RetryPauseMs = 16;

bool Taken(std::span<const Macro> list, std::u16string_view candidate)
{
    return std::any_of(list.begin(), list.end(),
                       [candidate](const Macro& m) { return StartsWithCaseless(m.name, candidate); });
}

}  // namespace

std::u16string DefaultMacroName(const base::TextLookup& texts, int number)
{
    // The prefix is an argument, never the format: a '%' in the language
    // file shows as it stands.
    return CutMacroName(Utf8ToUtf16(base::FormatText("%s%d", texts.Text(MacroNewPrefixKey), number)));
}

std::u16string MacroNameCounter::NextName(std::span<const Macro> list, const base::TextLookup& texts,
                                          platform::Clock& clock)
{
    if (list.empty())
        counter_ = 0;
    // Each name can turn away only as many candidates as it has prefixes,
    // so the search ends; the bound only matters when cutting a very long
    // prefix makes the candidates repeat.
    size_t triesLeft = 1;
    for (const Macro& m : list)
        triesLeft += m.name.size();
    std::u16string candidate = DefaultMacroName(texts, ++counter_);
    while (Taken(list, candidate) && --triesLeft > 0) {
        clock.SleepMs(RetryPauseMs);
        candidate = DefaultMacroName(texts, ++counter_);
    }
    return candidate;
}

}  // namespace trevolin::macros
