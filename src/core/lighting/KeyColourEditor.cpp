#include "core/lighting/KeyColourEditor.h"

#include "core/lighting/EffectCatalogue.h"
#include "core/lighting/LightingResults.h"

#include <optional>
#include <utility>
#include <vector>

namespace trevolin::lighting {

namespace {

using keyboard::KeyRef;

bool ValidProfile(int profile)
{
    return profile >= 0 && profile < LightingRecord::ProfileCount;
}

// Each light that belongs to a key once, in the order the keys are
// visited: the layout keys, the G keys' shared light, the Fn key.
const std::vector<uint8_t>& KeyLights()
{
    static const std::vector<uint8_t> lights = [] {
        std::vector<uint8_t> result;
        keyboard::ForEachKey(
            [&result](KeyRef key) {
                const uint8_t light = keyboard::LightPositionOf(key);
                if (!keyboard::HasLight(light))
                    return;
                for (const uint8_t seen : result) {
                    if (seen == light)
                        return;
                }
                result.push_back(light);
            },
            keyboard::FnKeyVisit::Last);
        return result;
    }();
    return lights;
}

}  // namespace

KeyColourEditor::KeyColourEditor(KeyboardLighting& keyboard, const LightingFiles& files, KeyTints& tints)
    : keyboard_(keyboard), files_(files), tints_(tints),
      names_(ModeFile::UserModeCount, std::string(ModeFile::DefaultName))
{
}

void KeyColourEditor::LoadUserMode(int profile)
{
    if (!ValidProfile(profile))
        return;
    const ModeFile file = files_.ModeFileOf(profile);
    for (int userMode = 0; userMode < ModeFile::UserModeCount; ++userMode)
        names_[static_cast<size_t>(userMode)] = file.ReadUserModeName(userMode);
    chosenUserMode_ = file.ReadPresentUserMode();
    settings_ = file.ReadUserModeSettings(chosenUserMode_);
    for (const uint8_t light : KeyLights()) {
        const KeyColour entry = file.ReadKeyColour(chosenUserMode_, light);
        pages_[static_cast<size_t>(profile)].Set(light, entry.colour);
        SetFollowsBase(profile, light, entry.followsBase);
    }
}

int KeyColourEditor::PaintKey(uint32_t controlId, uint8_t effect)
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0 || effect != PerKeyEffect)
        return ResultRejected;
    const std::optional<KeyRef> key = keyboard::FindKeyButton(controlId);
    if (!key)
        return ResultRejected;
    const uint8_t light = keyboard::LightPositionOf(*key);
    if (!keyboard::HasLight(light))
        return ResultRejected;

    const bool follows = settings_.tool == 1;
    const RgbColor colour = follows ? settings_.baseColour : settings_.paintColour;
    TintLight(light, colour);
    SetFollowsBase(profile, light, follows);
    const int result = keyboard_.WriteKeyColour(light, colour);
    pages_[static_cast<size_t>(profile)].Set(light, colour);
    files_.ModeFileOf(profile).WriteKeyColour(chosenUserMode_, light, {colour, follows});
    return result;
}

int KeyColourEditor::ChangeBaseColour(RgbColor colour)
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0)
        return ResultRejected;
    if (colour == settings_.baseColour)
        return device::ResultOk;
    settings_.baseColour = colour;
    WriteSettings();
    auto& page = pages_[static_cast<size_t>(profile)];
    std::vector<std::pair<int, KeyColour>> entries;
    for (const uint8_t light : KeyLights()) {
        if (!FollowsBaseAt(profile, light))
            continue;
        page.Set(light, colour);
        TintLight(light, colour);
        entries.emplace_back(light, KeyColour{colour, true});
    }
    files_.ModeFileOf(profile).WriteKeyColours(chosenUserMode_, entries);
    return keyboard_.WritePage(page);
}

bool KeyColourEditor::ChangePaintColour(RgbColor colour)
{
    if (keyboard_.CurrentProfile() < 0)
        return false;
    settings_.paintColour = colour;
    return WriteSettings();
}

bool KeyColourEditor::ChooseTool(int tool)
{
    if (keyboard_.CurrentProfile() < 0 || (tool != 0 && tool != 1))
        return false;
    settings_.tool = tool;
    return WriteSettings();
}

int KeyColourEditor::ChooseUserMode(int userMode)
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0 || userMode < 0 || userMode >= ModeFile::UserModeCount)
        return ResultRejected;
    chosenUserMode_ = userMode;
    const ModeFile file = files_.ModeFileOf(profile);
    file.WritePresentUserMode(userMode);
    // Keeping the previous mode's settings would write them into this
    // mode's section at the next change of colour or tool.
    settings_ = file.ReadUserModeSettings(userMode);
    return ReadPageFromKeyboard();
}

bool KeyColourEditor::RenameUserMode(std::string_view name)
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0 || !files_.ModeFileOf(profile).WriteUserModeName(chosenUserMode_, name))
        return false;
    names_[static_cast<size_t>(chosenUserMode_)] = std::string(name);
    return true;
}

int KeyColourEditor::ReadPageFromKeyboard()
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0)
        return ResultRejected;
    const int result = keyboard_.ReadPage(profile, pages_[static_cast<size_t>(profile)]);
    PaintKeysFromPage();
    return result;
}

int KeyColourEditor::WritePageToKeyboard()
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0)
        return ResultRejected;
    return keyboard_.WritePage(pages_[static_cast<size_t>(profile)]);
}

void KeyColourEditor::PaintKeysFromPage()
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0)
        return;
    const auto& page = pages_[static_cast<size_t>(profile)];
    keyboard::ForEachKey(
        [&](KeyRef key) {
            const uint8_t light = keyboard::LightPositionOf(key);
            if (keyboard::HasLight(light))
                tints_.Set(key, page.At(light));
        },
        keyboard::FnKeyVisit::Last);
}

void KeyColourEditor::RecomputeFollowsBaseFlags()
{
    for (int profile = 0; profile < LightingRecord::ProfileCount; ++profile) {
        for (const uint8_t light : KeyLights())
            SetFollowsBase(profile, light, pages_[static_cast<size_t>(profile)].At(light) == settings_.baseColour);
    }
}

const ColourPage& KeyColourEditor::Page(int profile) const
{
    return pages_[ValidProfile(profile) ? static_cast<size_t>(profile) : 0];
}

bool KeyColourEditor::FollowsBase(int profile, KeyRef key) const
{
    const uint8_t light = keyboard::LightPositionOf(key);
    return ValidProfile(profile) && keyboard::HasLight(light) && FollowsBaseAt(profile, light);
}

bool KeyColourEditor::FollowsBaseAt(int profile, uint8_t position) const
{
    return followsBase_[static_cast<size_t>(profile)][position];
}

void KeyColourEditor::SetFollowsBase(int profile, uint8_t position, bool follows)
{
    followsBase_[static_cast<size_t>(profile)][position] = follows;
}

void KeyColourEditor::TintLight(uint8_t position, RgbColor colour)
{
    keyboard::ForEachKey(
        [&](KeyRef key) {
            if (keyboard::LightPositionOf(key) == position)
                tints_.Set(key, colour);
        },
        keyboard::FnKeyVisit::Last);
}

bool KeyColourEditor::WriteSettings() const
{
    const int profile = keyboard_.CurrentProfile();
    return profile >= 0 && files_.ModeFileOf(profile).WriteUserModeSettings(chosenUserMode_, settings_);
}

}  // namespace trevolin::lighting
