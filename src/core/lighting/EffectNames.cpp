#include "core/lighting/EffectNames.h"

#include "core/base/Language.h"

#include <array>
#include <utility>

namespace trevolin::lighting {

namespace {

// Effects 7 to 9 are drawn by the keyboard alone: the window cannot preview
// them and nothing the keyboard reports describes them, so their names say
// only what is known (a pattern of the keyboard's own, with a speed and a
// colour) and tell them apart without reusing their numbers.
constexpr std::array<std::pair<int, std::string_view>, 3> FallbackNames{{
    {7, "Onboard pattern A"},
    {8, "Onboard pattern B"},
    {9, "Onboard pattern C"},
}};

}  // namespace

std::string_view FallbackEffectName(int mode)
{
    for (const auto& [effect, name] : FallbackNames) {
        if (effect == mode)
            return name;
    }
    return {};
}

std::string EffectName(const base::TextLookup& texts, int mode)
{
    std::string name = texts.ModeText(std::to_string(mode));
    if (name == base::Language::MissingText || name.empty()) {
        if (const auto fallback = FallbackEffectName(mode); !fallback.empty())
            return std::string(fallback);
    }
    return name;
}

}  // namespace trevolin::lighting
