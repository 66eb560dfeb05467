#include "core/lighting/EffectCatalogue.h"

#include <array>

namespace trevolin::lighting {

namespace {

using enum DirectionKind;
constexpr ColourGroup A = ColourGroup::A;
constexpr ColourGroup B = ColourGroup::B;
constexpr ColourGroup NoColour = ColourGroup::None;

// mode, speed, direction, colour group, colour choice, user group, resends multicolour
constexpr std::array<EffectTraits, 19> Catalogue = {{
    {1, true, LeftRight, A, false, false, true},     {2, true, LeftRight, A, false, false, true},
    {3, true, LeftRight, A, false, false, true},     {4, true, None, NoColour, false, false, false},
    {5, true, None, A, false, false, true},          {6, false, None, B, false, false, false},
    {7, true, None, A, false, false, true},          {8, true, None, A, false, false, true},
    {9, true, None, A, false, false, true},          {10, true, None, A, false, false, false},
    {11, true, None, NoColour, false, false, false}, {12, true, UpDown, NoColour, false, false, false},
    {13, true, None, A, false, false, true},         {14, true, None, A, false, false, true},
    {15, true, None, A, false, false, true},         {16, false, None, B, false, false, false},
    {17, false, None, NoColour, true, false, false}, {18, false, DiffuseConverge, NoColour, false, false, false},
    {20, false, None, NoColour, false, true, false},
}};

}  // namespace

std::optional<EffectTraits> FindEffect(int mode)
{
    for (const auto& traits : Catalogue) {
        if (traits.mode == mode)
            return traits;
    }
    return std::nullopt;
}

}  // namespace trevolin::lighting
