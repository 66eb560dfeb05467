#include "core/lighting/ModeFile.h"

#include "core/lighting/ColourPage.h"

#include <fmt/format.h>

#include <string>
#include <utility>
#include <vector>

namespace trevolin::lighting {

namespace {

constexpr std::string_view PresentModeSection = "PRESENTMODE";
constexpr std::string_view PresentModeKey = "mode";
constexpr std::string_view NameSection = "MODENAME";
constexpr std::string_view ToolKey = "tool";
constexpr std::string_view BaseColourKey = "jcolor";
constexpr std::string_view PaintColourKey = "color";

bool ValidUserMode(int userMode)
{
    return userMode >= 0 && userMode < ModeFile::UserModeCount;
}

bool ValidPosition(int position)
{
    return position >= 0 && static_cast<size_t>(position) < ColourPage::PositionCount;
}

std::string ModeSection(int userMode)
{
    return fmt::format("Mode{}", userMode);
}

}  // namespace

ModeFile::ModeFile(std::string path) : ini_(std::move(path))
{
}

int ModeFile::ReadPresentUserMode() const
{
    const int userMode = ini_.ReadInt(PresentModeSection, PresentModeKey, 0);
    return ValidUserMode(userMode) ? userMode : 0;
}

bool ModeFile::WritePresentUserMode(int userMode)
{
    return ValidUserMode(userMode) && ini_.Write(PresentModeSection, PresentModeKey, std::to_string(userMode));
}

std::string ModeFile::ReadUserModeName(int userMode) const
{
    if (!ValidUserMode(userMode))
        return std::string(DefaultName);
    return ini_.ReadString(NameSection, std::to_string(userMode), DefaultName);
}

bool ModeFile::WriteUserModeName(int userMode, std::string_view name)
{
    return ValidUserMode(userMode) && ini_.Write(NameSection, std::to_string(userMode), name);
}

UserModeSettings ModeFile::ReadUserModeSettings(int userMode) const
{
    UserModeSettings settings;
    if (!ValidUserMode(userMode))
        return settings;
    const std::string section = ModeSection(userMode);
    const int tool = ini_.ReadInt(section, ToolKey, 0);
    settings.tool = (tool == 0 || tool == 1) ? tool : 0;
    settings.baseColour = ColourFromText(ini_.ReadString(section, BaseColourKey, "0,0,0")).value_or(RgbColor{});
    settings.paintColour = ColourFromText(ini_.ReadString(section, PaintColourKey, "0,0,0")).value_or(RgbColor{});
    return settings;
}

bool ModeFile::WriteUserModeSettings(int userMode, const UserModeSettings& settings)
{
    if (!ValidUserMode(userMode))
        return false;
    const std::string section = ModeSection(userMode);
    const bool tool = ini_.Write(section, ToolKey, std::to_string(settings.tool));
    const bool base = ini_.Write(section, BaseColourKey, ColourToText(settings.baseColour));
    const bool paint = ini_.Write(section, PaintColourKey, ColourToText(settings.paintColour));
    return tool && base && paint;
}

KeyColour ModeFile::ReadKeyColour(int userMode, int position) const
{
    const KeyColour fallback{DefaultKeyColour, true};
    if (!ValidUserMode(userMode) || !ValidPosition(position))
        return fallback;
    const auto text = ini_.Read(ModeSection(userMode), std::to_string(position));
    if (!text)
        return fallback;
    return KeyColourFromText(*text).value_or(fallback);
}

bool ModeFile::WriteKeyColour(int userMode, int position, const KeyColour& entry)
{
    return ValidUserMode(userMode) && ValidPosition(position) &&
           ini_.Write(ModeSection(userMode), std::to_string(position), KeyColourToText(entry));
}

bool ModeFile::WriteKeyColours(int userMode, std::span<const std::pair<int, KeyColour>> entries)
{
    // One replacement of the file for all of them: a write waits for the
    // disk, and a mode with every key following the base colour has a
    // hundred entries.
    if (!ValidUserMode(userMode))
        return false;
    bool allValid = true;
    std::vector<std::string> keys, values;
    for (const auto& [position, entry] : entries) {
        if (!ValidPosition(position)) {
            allValid = false;
            continue;
        }
        keys.push_back(std::to_string(position));
        values.push_back(KeyColourToText(entry));
    }
    std::vector<std::pair<std::string_view, std::string_view>> pairs;
    for (size_t i = 0; i < keys.size(); ++i)
        pairs.emplace_back(keys[i], values[i]);
    return ini_.WriteMany(ModeSection(userMode), pairs) && allValid;
}

}  // namespace trevolin::lighting
