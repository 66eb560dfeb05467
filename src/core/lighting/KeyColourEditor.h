#pragma once

#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/ColourPage.h"
#include "core/lighting/KeyTints.h"
#include "core/lighting/KeyboardLighting.h"
#include "core/lighting/LightingFiles.h"
#include "core/lighting/LightingRecord.h"
#include "core/lighting/ModeFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trevolin::lighting {

// The per-key colours of effect 20: the program's copy of the three colour
// pages, which keys follow the base colour, and the user group of the
// current profile (chosen user mode, tool, paint and base colour). Painting
// goes to the keyboard at once and into the chosen user mode of the
// profile's mode file.
//
// The follows-base flag is kept per light, not per button: the nine G keys
// share one light and one mode-file entry, so they share one flag too.
class KeyColourEditor {
public:
    KeyColourEditor(KeyboardLighting& keyboard, const LightingFiles& files, KeyTints& tints);

    // Reads profile `profile`'s user-mode names, its chosen user mode with
    // its settings, and that mode's key colours into the page copy and the
    // flags. Sends nothing.
    void LoadUserMode(int profile);

    // The lighting view's click on a key button, with the current effect.
    // Rejected (nothing changes) outside effect 20, for a button without a
    // light and for an id that is no key button.
    int PaintKey(uint32_t controlId, uint8_t effect);
    // Every key following the base colour takes the new one, in the page
    // copy, the tints and the mode file; then the whole page goes out. An
    // unchanged colour sends and writes nothing.
    int ChangeBaseColour(RgbColor colour);
    // Both only write the user mode's settings.
    bool ChangePaintColour(RgbColor colour);
    bool ChooseTool(int tool);
    // Remembers the choice in the mode file, takes the mode's settings, and
    // shows the colours the keyboard holds; the mode's own key colours are
    // not loaded or sent.
    int ChooseUserMode(int userMode);
    // Names the chosen user mode; false, with the name unchanged, when the
    // name cannot be stored.
    bool RenameUserMode(std::string_view name);

    // The current profile's page from the keyboard, then painted on the keys.
    int ReadPageFromKeyboard();
    // The current profile's page copy to the keyboard.
    int WritePageToKeyboard();
    void PaintKeysFromPage();
    // For each profile, a key follows the base colour exactly when its
    // colour in that profile's page copy is the base colour.
    void RecomputeFollowsBaseFlags();

    const ColourPage& Page(int profile) const;
    bool FollowsBase(int profile, keyboard::KeyRef key) const;
    int ChosenUserMode() const { return chosenUserMode_; }
    const UserModeSettings& Settings() const { return settings_; }
    const std::vector<std::string>& UserModeNames() const { return names_; }

private:
    bool FollowsBaseAt(int profile, uint8_t position) const;
    void SetFollowsBase(int profile, uint8_t position, bool follows);
    void TintLight(uint8_t position, RgbColor colour);
    bool WriteSettings() const;

    KeyboardLighting& keyboard_;
    const LightingFiles& files_;
    KeyTints& tints_;

    std::array<ColourPage, LightingRecord::ProfileCount> pages_{};
    std::array<std::array<bool, ColourPage::PositionCount>, LightingRecord::ProfileCount> followsBase_{};
    int chosenUserMode_ = 0;
    UserModeSettings settings_;
    std::vector<std::string> names_;
};

}  // namespace trevolin::lighting
