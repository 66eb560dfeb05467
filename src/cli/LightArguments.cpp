#include "cli/LightArguments.h"

#include "core/lighting/EffectNames.h"

#include "core/base/IniFile.h"
#include "core/base/Language.h"
#include "core/base/PlainText.h"
#include "core/lighting/ColourText.h"
#include "core/lighting/EffectDirections.h"

#include <fmt/format.h>

#include <array>
#include <vector>

namespace trevolin::cli {

namespace {

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Separator(char c)
{
    return c == ' ' || c == '-' || c == '_';
}

// Lower case, without spaces, hyphens and underscores.
std::string Folded(std::string_view text)
{
    std::string folded;
    for (const char c : text) {
        if (!Separator(c))
            folded.push_back(Lower(c));
    }
    return folded;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

constexpr std::array<std::string_view, 4> ColourChoiceNames = {"red", "yellow", "green", "blue"};

}  // namespace

std::optional<lighting::RgbColor> ParseColour(std::string_view text)
{
    return lighting::ColourFromUserText(text);
}

std::optional<bool> ParseOnOff(std::string_view text)
{
    for (const std::string_view on : {"on", "1", "true", "yes"}) {
        if (EqualsIgnoringCase(text, on))
            return true;
    }
    for (const std::string_view off : {"off", "0", "false", "no"}) {
        if (EqualsIgnoringCase(text, off))
            return false;
    }
    return std::nullopt;
}

bool IsDirectionWord(std::string_view text)
{
    for (const int effect : {1, 12, 18}) {
        if (lighting::DirectionValueOf(effect, text))
            return true;
    }
    return false;
}

std::string_view DirectionName(int effect, uint8_t direction)
{
    // An effect without a direction still has the byte; it reads as the
    // left and right of the first effects.
    const std::string_view word = lighting::DirectionWordOf(effect, direction);
    return word.empty() ? lighting::DirectionWordOf(1, direction) : word;
}

std::optional<int> ParseColourChoice(std::string_view text)
{
    if (const auto number = base::ParseWholeNumber(text, 0, static_cast<int>(ColourChoiceNames.size()) - 1))
        return number;
    for (size_t i = 0; i < ColourChoiceNames.size(); ++i) {
        if (EqualsIgnoringCase(text, ColourChoiceNames[i]))
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::string_view ColourChoiceName(int colourChoice)
{
    if (colourChoice < 0 || static_cast<size_t>(colourChoice) >= ColourChoiceNames.size())
        return "?";
    return ColourChoiceNames[static_cast<size_t>(colourChoice)];
}

std::string ColourNumbers(lighting::RgbColor colour)
{
    return fmt::format("{},{},{}", colour.red, colour.green, colour.blue);
}

std::string ColourHex(lighting::RgbColor colour)
{
    return fmt::format("#{:02x}{:02x}{:02x}", colour.red, colour.green, colour.blue);
}

EffectArgument FindEffectArgument(std::string_view text, const lighting::EffectList& offered,
                                  const base::TextLookup& texts)
{
    EffectArgument found;
    if (const auto number = base::ParseWholeNumber(text, 0, 255)) {
        found.effect = *number;
        found.outcome =
            offered.Contains(*number) ? EffectArgument::Outcome::Found : EffectArgument::Outcome::NotOffered;
        return found;
    }
    const std::string wanted = Folded(text);
    if (wanted.empty())
        return found;
    std::vector<int> matches;
    for (const uint8_t effect : offered.Effects()) {
        const std::string name = lighting::EffectName(texts, effect);
        // An effect without a name in the language file is reached by number.
        if (name == base::Language::MissingText || Folded(name) != wanted)
            continue;
        bool listed = false;
        for (const int seen : matches)
            listed = listed || seen == effect;
        if (!listed)
            matches.push_back(effect);
    }
    if (matches.size() == 1) {
        found.outcome = EffectArgument::Outcome::Found;
        found.effect = matches.front();
    } else if (matches.size() > 1) {
        found.outcome = EffectArgument::Outcome::AmbiguousName;
    }
    return found;
}

bool UsableUserModeName(std::string_view name)
{
    if (name.empty() || name.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return false;
    size_t characters = 0;
    for (const char c : name) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++characters;
    }
    return characters <= base::IniFile::DefaultMaxValueLength;
}

}  // namespace trevolin::cli
