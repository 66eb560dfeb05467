#pragma once

#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/ColourPage.h"
#include "core/lighting/KeyTints.h"
#include "core/lighting/KeyboardLighting.h"
#include "core/lighting/LightingFiles.h"
#include "core/lighting/LightingRecord.h"
#include "core/lighting/ModeFile.h"

#include <array>
#include <optional>
#include <span>
#include <utility>
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
// The mode file and the page copy say what the keyboard holds: a colour
// goes into them only once the keyboard has taken it. A write the keyboard
// refuses, or does not answer, changes neither; of a page it took only in
// part, they keep the runs it took and, for the others, what it showed
// before. The key tints show the same.
//
// The follows-base flag is kept per light, not per button: the nine G keys
// share one light and one mode-file entry, so they share one flag too.
class KeyColourEditor {
public:
    KeyColourEditor(KeyboardLighting& keyboard, LightingFiles& files, KeyTints& tints);

    // Reads profile `profile`'s user-mode names, its chosen user mode with
    // its settings, and that mode's key colours into the page copy and the
    // flags. Sends nothing.
    void LoadUserMode(int profile);

    // The lighting view's click on a key button, with the current effect.
    // Rejected (nothing changes) outside effect 20, for a button without a
    // light and for an id that is no key button.
    [[nodiscard]] int PaintKey(uint32_t controlId, uint8_t effect);
    // Brush `tool` and, when given, `paintColour` become the user mode's, as
    // choosing them in the window would, and the key is painted with them.
    // When the keyboard does not take the key, the brush and the paint
    // colour stay as they were too, in the file and here.
    [[nodiscard]] int PaintKeyWith(uint32_t controlId, uint8_t effect, int tool, std::optional<RgbColor> paintColour);
    // Every key following the base colour takes the new one and the whole
    // page goes out; the user mode's base colour becomes the new one once
    // the keyboard took all of it. An unchanged colour sends and writes
    // nothing.
    [[nodiscard]] int ChangeBaseColour(RgbColor colour);
    // The current profile's page with each listed light (a position and its
    // entry) changed, sent whole; the lights not listed keep their colour
    // and flag. Afterwards the chosen user mode holds every key's entry.
    [[nodiscard]] int SetKeyColours(std::span<const std::pair<int, KeyColour>> entries);
    // The current profile's mode file back to the template, its user mode
    // loaded and its page sent.
    [[nodiscard]] int RestoreFromTemplate();
    // Whether the last change that wrote key colours or settings could
    // store them in the mode file; a keyboard that took them then shows
    // more than the file says.
    bool ModeFileSaved() const { return modeFileSaved_; }
    // Both only write the user mode's settings.
    [[nodiscard]] bool ChangePaintColour(RgbColor colour);
    [[nodiscard]] bool ChooseTool(int tool);
    // Remembers the choice in the mode file, takes the mode's settings, and
    // shows the colours the keyboard holds; the mode's own key colours are
    // not loaded or sent.
    [[nodiscard]] int ChooseUserMode(int userMode);
    // Names the chosen user mode; false, with the name unchanged, when the
    // name cannot be stored.
    [[nodiscard]] bool RenameUserMode(std::string_view name);

    // The current profile's page from the keyboard, then painted on the keys.
    [[nodiscard]] int ReadPageFromKeyboard();
    // The current profile's page copy to the keyboard.
    [[nodiscard]] int WritePageToKeyboard();
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
    using FollowsFlags = std::array<bool, ColourPage::PositionCount>;

    // Sends `page` with its flags `follows` as the current profile's page and
    // keeps what the keyboard took in the page copy, the flags, the tints and
    // the mode file (every key's entry). With `fileHasPage` the file already
    // holds `page`, so it is written only when the keyboard took part of it.
    [[nodiscard]] int SendPage(int profile, const ColourPage& page, const FollowsFlags& follows, bool fileHasPage);
    bool FollowsBaseAt(int profile, uint8_t position) const;
    void SetFollowsBase(int profile, uint8_t position, bool follows);
    void TintLight(uint8_t position, RgbColor colour);
    bool WriteSettings();

    KeyboardLighting& keyboard_;
    LightingFiles& files_;
    KeyTints& tints_;

    std::array<ColourPage, LightingRecord::ProfileCount> pages_{};
    std::array<FollowsFlags, LightingRecord::ProfileCount> followsBase_{};
    int chosenUserMode_ = 0;
    UserModeSettings settings_;
    std::vector<std::string> names_;
    bool modeFileSaved_ = true;
};

}  // namespace trevolin::lighting
