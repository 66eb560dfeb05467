#pragma once

#include "core/lighting/RgbColor.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace trevolin::lighting {

// A key's entry in a mode file: its colour and whether it takes the base
// colour whenever that changes.
struct KeyColour {
    RgbColor colour;
    bool followsBase = false;

    bool operator==(const KeyColour&) const = default;
};

// "%d,%d,%d".
std::string ColourToText(RgbColor colour);
// "%d,%d,%d,%d", the flag as 0 or 1.
std::string KeyColourToText(const KeyColour& entry);

// Mode files are written by hand too, so values are read leniently but
// never out of range: each number may carry spaces and trailing characters
// (as "%d" reads it), and is clamped to 0 to 255. Nothing when fewer than
// three numbers can be read.
std::optional<RgbColor> ColourFromText(std::string_view text);
// As above; the fourth number is the flag, any non-zero value meaning it
// follows the base colour. A missing fourth number reads as not following,
// so the key keeps its own colour.
std::optional<KeyColour> KeyColourFromText(std::string_view text);

// The colours a user may give by name: the lighting panel's eight presets in
// their order (orange, red, blue, green, yellow, amber, pink, purple, with
// the presets' own values, so "blue" is 0,126,255), then white and black.
struct NamedColour {
    std::string_view name;
    RgbColor colour;
};
std::span<const NamedColour> ColourNames();

// A colour as a user types it, wherever one is taken: "R,G,B" (whole numbers
// from 0 to 255, spaces allowed around them), "#rgb" (each digit doubled),
// "#rrggbb", or a name of ColourNames() in any case; spaces around the whole
// are allowed. Unlike a mode file's entries nothing is clamped or skipped:
// anything else gives nothing.
std::optional<RgbColor> ColourFromUserText(std::string_view text);

}  // namespace trevolin::lighting
