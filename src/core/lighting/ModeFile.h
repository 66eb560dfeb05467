#pragma once

#include "core/base/IniFile.h"
#include "core/lighting/ColourText.h"
#include "core/lighting/RgbColor.h"

#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace trevolin::lighting {

// What a user mode keeps besides its key colours.
struct UserModeSettings {
    int tool = 0;  // 0 paints with the paint colour, 1 with the base colour
    RgbColor baseColour;
    RgbColor paintColour;

    bool operator==(const UserModeSettings&) const = default;
};

// One profile's lighting mode file ("UserDengColor_<p>.userd"): the ten
// user modes of the per-key effect, their names, settings and key colours,
// and which one is chosen.
//
// Whatever the file holds is brought into range on reading: a user mode
// number outside 0 to 9 reads as 0, a tool other than 0 or 1 as 0, colour
// numbers are clamped to 0 to 255, and an entry that cannot be read as a
// colour takes the default of a missing one. Writes that cannot be stored
// return false.
class ModeFile {
public:
    static constexpr int UserModeCount = 10;
    static constexpr std::string_view DefaultName = "0";
    static constexpr RgbColor DefaultKeyColour{255, 0, 0};

    explicit ModeFile(std::string path);

    const std::string& Path() const { return ini_.Path(); }

    int ReadPresentUserMode() const;
    [[nodiscard]] bool WritePresentUserMode(int userMode);

    std::string ReadUserModeName(int userMode) const;
    [[nodiscard]] bool WriteUserModeName(int userMode, std::string_view name);

    UserModeSettings ReadUserModeSettings(int userMode) const;
    // "tool", then "jcolor", then "color"; false when any of them failed.
    [[nodiscard]] bool WriteUserModeSettings(int userMode, const UserModeSettings& settings);

    KeyColour ReadKeyColour(int userMode, int position) const;
    [[nodiscard]] bool WriteKeyColour(int userMode, int position, const KeyColour& entry);
    // Several keys of one user mode; false when any of them failed.
    [[nodiscard]] bool WriteKeyColours(int userMode, std::span<const std::pair<int, KeyColour>> entries);

private:
    base::IniFile ini_;
};

}  // namespace trevolin::lighting
