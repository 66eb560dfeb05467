#include "core/lighting/EffectDirections.h"

#include "core/lighting/EffectCatalogue.h"
#include "core/lighting/LightMode.h"

#include <array>

namespace trevolin::lighting {

namespace {

constexpr std::array<DirectionChoice, 2> LeftRight{
    {{"left", LightMode::DirectionLeft}, {"right", LightMode::DirectionRight}}};
constexpr std::array<DirectionChoice, 2> UpDown{
    {{"up", LightMode::DirectionLeft}, {"down", LightMode::DirectionRight}}};
constexpr std::array<DirectionChoice, 2> DiffuseConverge{
    {{"diffuse", LightMode::DirectionLeft}, {"converge", LightMode::DirectionRight}}};

bool SameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char c = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        if (c != b[i])
            return false;
    }
    return true;
}

}  // namespace

std::span<const DirectionChoice> DirectionsOf(int mode)
{
    const auto traits = FindEffect(mode);
    switch (traits ? traits->direction : DirectionKind::None) {
    case DirectionKind::LeftRight:
        return LeftRight;
    case DirectionKind::UpDown:
        return UpDown;
    case DirectionKind::DiffuseConverge:
        return DiffuseConverge;
    case DirectionKind::None:
        break;
    }
    return {};
}

std::optional<uint8_t> DirectionValueOf(int mode, std::string_view word)
{
    for (const DirectionChoice& choice : DirectionsOf(mode)) {
        if (SameWord(word, choice.word))
            return choice.value;
    }
    return std::nullopt;
}

std::string_view DirectionWordOf(int mode, uint8_t value)
{
    const auto choices = DirectionsOf(mode);
    if (choices.empty())
        return {};
    return value != LightMode::DirectionRight ? choices[0].word : choices[1].word;
}

}  // namespace trevolin::lighting
