#include "core/lighting/KeyColourEditor.h"

#include "core/lighting/EffectCatalogue.h"
#include "core/lighting/LightingResults.h"

#include <bitset>
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

KeyColourEditor::KeyColourEditor(KeyboardLighting& keyboard, LightingFiles& files, KeyTints& tints)
    : keyboard_(keyboard),
      files_(files),
      tints_(tints),
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
    const int result = keyboard_.WriteKeyColour(light, colour);
    auto& page = pages_[static_cast<size_t>(profile)];
    // A key whose reply went missing may show the colour after all; the
    // next read of the page shows it then.
    if (result != device::ResultOk) {
        TintLight(light, page.At(light));
        return result;
    }
    TintLight(light, colour);
    SetFollowsBase(profile, light, follows);
    page.Set(light, colour);
    modeFileSaved_ = files_.ModeFileOf(profile).WriteKeyColour(chosenUserMode_, light, {colour, follows});
    return result;
}

int KeyColourEditor::PaintKeyWith(uint32_t controlId, uint8_t effect, int tool, std::optional<RgbColor> paintColour)
{
    if (tool != 0 && tool != 1)
        return ResultRejected;
    const UserModeSettings before = settings_;
    settings_.tool = tool;
    if (paintColour)
        settings_.paintColour = *paintColour;
    const int result = PaintKey(controlId, effect);
    if (result != device::ResultOk) {
        settings_ = before;
        return result;
    }
    if (settings_ != before && !WriteSettings())
        modeFileSaved_ = false;
    return result;
}

int KeyColourEditor::ChangeBaseColour(RgbColor colour)
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0)
        return ResultRejected;
    if (colour == settings_.baseColour)
        return device::ResultOk;
    ColourPage page = pages_[static_cast<size_t>(profile)];
    for (const uint8_t light : KeyLights()) {
        if (FollowsBaseAt(profile, light))
            page.Set(light, colour);
    }
    const int result = SendPage(profile, page, followsBase_[static_cast<size_t>(profile)], false);
    if (result != device::ResultOk)
        return result;
    settings_.baseColour = colour;
    if (!WriteSettings())
        modeFileSaved_ = false;
    return result;
}

int KeyColourEditor::SetKeyColours(std::span<const std::pair<int, KeyColour>> entries)
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0)
        return ResultRejected;
    ColourPage page = pages_[static_cast<size_t>(profile)];
    FollowsFlags follows = followsBase_[static_cast<size_t>(profile)];
    for (const auto& [light, entry] : entries) {
        if (light < 0 || !page.Set(static_cast<size_t>(light), entry.colour))
            return ResultRejected;
        follows[static_cast<size_t>(light)] = entry.followsBase;
    }
    return SendPage(profile, page, follows, false);
}

int KeyColourEditor::RestoreFromTemplate()
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0)
        return ResultRejected;
    const auto index = static_cast<size_t>(profile);
    const ColourPage shown = pages_[index];
    const FollowsFlags shownFlags = followsBase_[index];
    const bool reset = files_.ResetModeFile(profile);
    LoadUserMode(profile);
    const ColourPage page = pages_[index];
    const FollowsFlags follows = followsBase_[index];
    pages_[index] = shown;
    followsBase_[index] = shownFlags;
    const int result = SendPage(profile, page, follows, true);
    if (!reset)
        modeFileSaved_ = false;
    return result;
}

int KeyColourEditor::SendPage(int profile, const ColourPage& page, const FollowsFlags& follows, bool fileHasPage)
{
    std::bitset<ColourPage::RunCount> taken;
    const int result = keyboard_.WritePage(page, &taken);
    auto& held = pages_[static_cast<size_t>(profile)];
    const ColourPage before = held;
    for (size_t run = 0; run < ColourPage::RunCount; ++run) {
        if (taken[run])
            held.StoreRun(run, page.Run(run));
    }
    std::vector<std::pair<int, KeyColour>> entries;
    for (const uint8_t light : KeyLights()) {
        if (taken[light / ColourPage::RunPositions])
            SetFollowsBase(profile, light, follows[light]);
        if (held.At(light) != before.At(light))
            TintLight(light, held.At(light));
        entries.emplace_back(light, KeyColour{held.At(light), FollowsBaseAt(profile, light)});
    }
    // Nothing taken leaves the keyboard, and so the file, as they were.
    const bool fileHolds = taken.none() || (fileHasPage && taken.all());
    modeFileSaved_ = fileHolds || files_.ModeFileOf(profile).WriteKeyColours(chosenUserMode_, entries);
    return result;
}

bool KeyColourEditor::ChangePaintColour(RgbColor colour)
{
    if (keyboard_.CurrentProfile() < 0)
        return false;
    settings_.paintColour = colour;
    modeFileSaved_ = WriteSettings();
    return modeFileSaved_;
}

bool KeyColourEditor::ChooseTool(int tool)
{
    if (keyboard_.CurrentProfile() < 0 || (tool != 0 && tool != 1))
        return false;
    settings_.tool = tool;
    modeFileSaved_ = WriteSettings();
    return modeFileSaved_;
}

int KeyColourEditor::ChooseUserMode(int userMode)
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0 || userMode < 0 || userMode >= ModeFile::UserModeCount)
        return ResultRejected;
    chosenUserMode_ = userMode;
    ModeFile file = files_.ModeFileOf(profile);
    const bool presentSaved = file.WritePresentUserMode(userMode);
    // Keeping the previous mode's settings would write them into this
    // mode's section at the next change of colour or tool.
    settings_ = file.ReadUserModeSettings(userMode);
    // A user mode is its own set of key colours: they go to the keyboard
    // and onto the keys, or the keyboard would go on showing the previous
    // mode's colours while the next paint wrote them into this mode.
    const auto index = static_cast<size_t>(profile);
    ColourPage page = pages_[index];
    FollowsFlags follows = followsBase_[index];
    for (const uint8_t light : KeyLights()) {
        const KeyColour entry = file.ReadKeyColour(userMode, light);
        page.Set(light, entry.colour);
        follows[light] = entry.followsBase;
    }
    const int result = SendPage(profile, page, follows, true);
    modeFileSaved_ = modeFileSaved_ && presentSaved;
    return result;
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

bool KeyColourEditor::WriteSettings()
{
    const int profile = keyboard_.CurrentProfile();
    return profile >= 0 && files_.ModeFileOf(profile).WriteUserModeSettings(chosenUserMode_, settings_);
}

}  // namespace trevolin::lighting
