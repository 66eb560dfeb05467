#pragma once

#include "core/base/TextLookup.h"
#include "core/lighting/EffectList.h"
#include "core/lighting/RgbColor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trevolin::cli {

// "R,G,B" (each 0 to 255, spaces allowed around the numbers), "#rgb",
// "#rrggbb" or a colour name (lighting::ColourFromUserText).
std::optional<lighting::RgbColor> ParseColour(std::string_view text);
inline constexpr std::string_view ColourExpected =
    "a colour as R,G,B with each number from 0 to 255 (for example 255,128,0), as #rgb or #rrggbb, or a name: "
    "orange, red, blue, green, yellow, amber, pink, purple (the eight presets), white or black";

// "on"/"off" (also "1"/"0", "true"/"false", "yes"/"no").
std::optional<bool> ParseOnOff(std::string_view text);

// Whether `text` is a direction of any effect (left, right, up, down,
// diffuse, converge); which ones an effect has is lighting::DirectionsOf.
bool IsDirectionWord(std::string_view text);
// The word for a direction as the effect shows it; left or right for an
// effect without a direction.
std::string_view DirectionName(int effect, uint8_t direction);

// 0 to 3 or red, yellow, green, blue (effect 17's colour choice).
std::optional<int> ParseColourChoice(std::string_view text);
std::string_view ColourChoiceName(int colourChoice);

// "255,128,0" and "#ff8000".
std::string ColourNumbers(lighting::RgbColor colour);
std::string ColourHex(lighting::RgbColor colour);

// An effect given by number or by its name in the language file (case,
// spaces, hyphens and underscores do not count), among those the keyboard
// offers.
struct EffectArgument {
    enum class Outcome { Found, NotOffered, UnknownName, AmbiguousName };
    Outcome outcome = Outcome::UnknownName;
    int effect = 0;  // Found and NotOffered
};
EffectArgument FindEffectArgument(std::string_view text, const lighting::EffectList& offered,
                                  const base::TextLookup& texts);

// Whether a user mode name can be kept in the mode file as it is: not
// empty, on one line, and not longer than a mode file value may be.
bool UsableUserModeName(std::string_view name);

}  // namespace trevolin::cli
