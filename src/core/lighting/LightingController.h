#pragma once

#include "core/base/TextLookup.h"
#include "core/device/KeyboardCommands.h"
#include "core/lighting/EffectList.h"
#include "core/lighting/KeyColourEditor.h"
#include "core/lighting/KeyTints.h"
#include "core/lighting/KeyboardLighting.h"
#include "core/lighting/LightMode.h"
#include "core/lighting/LightingFiles.h"
#include "core/lighting/LightingRecord.h"
#include "core/lighting/PanelView.h"
#include "core/lighting/RgbColor.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace trevolin::lighting {

// What a number field (red, green or blue) shows after an edit: the digits
// of `text`, a value of 256 or more becoming "255".
std::string ClampNumberField(std::string_view text);

// One value of the panel's model, as a front end that names values (the
// command line) asks for it.
struct LightingSetting {
    enum class Field { Effect, Brightness, Speed, Direction, Colour, Multicolour, ColourChoice, ReportRate, Preset };

    LightingSetting(Field f, int v) : field(f), value(v) {}
    explicit LightingSetting(RgbColor c) : field(Field::Colour), colour(c) {}

    Field field;
    // The effect, the slider position (the speed's position is 4 minus the
    // speed), the direction, multicolour on (1) or off (0), the colour
    // choice, the report rate or the preset.
    int value = 0;
    RgbColor colour;  // Field::Colour
};

// The lighting panel's model and every lighting operation, for the main
// window and the command line alike. A change is written to the keyboard at
// once (command 1, the writes, command 2) and kept in the model whatever
// the keyboard answers; the returned result says how the writes went (see
// LightingResults.h). The current profile is the one the device link's
// commands use.
class LightingController {
public:
    // Switches the keyboard to a profile, possibly after asking the user
    // about unapplied key changes; false when it did not.
    using SelectProfileFunction = std::function<bool(int profile)>;

    enum class ReadBackKind {
        Connection,     // the lighting view follows the settings file
        Refresh,        // the settings file can only turn the view on
        ProfileSwitch,  // as Refresh, and the user mode is loaded afterwards
    };

    LightingController(device::KeyboardCommands& commands, LightingFiles files, KeyTints& tints);
    LightingController(const LightingController&) = delete;
    LightingController& operator=(const LightingController&) = delete;

    void SetSelectProfile(SelectProfileFunction selectProfile) { selectProfile_ = std::move(selectProfile); }

    // --- Reading the keyboard back ---------------------------------------
    // Information block, the three records, the model, the view flag. Stops
    // with ResultReadBackFailed, the effect list left empty, when the
    // information block cannot be read; otherwise 1, or the first failing
    // record read's result (that record keeps its last copy).
    [[nodiscard]] int ReadBack(ReadBackKind kind);
    // After every read-back: for effect 20 with the view on, the current
    // page is read and painted on the keys.
    [[nodiscard]] int RefreshLightingPanel();
    // The keyboard arrived: read-back, panel, follows-base flags.
    [[nodiscard]] int OnConnected();
    // The keyboard changed its lighting by itself, or the language changed.
    [[nodiscard]] int OnLightingChanged();
    // The lighting side of switching to profile `profile` (0 to 2). The
    // keyboard's active profile is the caller's to change afterwards.
    [[nodiscard]] int SwitchProfile(int profile);

    // --- The panel's controls ---------------------------------------------
    [[nodiscard]] int EffectChanged(int listIndex);
    // Effect `effect`, which must be in the keyboard's list. An effect the
    // program does not handle sends nothing and changes nothing: the list
    // and the current effect's controls stay, so another can be chosen.
    [[nodiscard]] int ChooseEffect(int effect);
    [[nodiscard]] int BrightnessChanged(int position);
    // The slider position; the speed is 4 minus it.
    [[nodiscard]] int SpeedChanged(int position);
    // The slider window message (0x28D1): control id and position.
    [[nodiscard]] int SliderMoved(uint32_t controlId, int position);
    // LightMode::DirectionLeft or LightMode::DirectionRight.
    [[nodiscard]] int DirectionChosen(uint8_t direction);
    // Group A or B: the colour, multicolour off.
    [[nodiscard]] int ColourChosen(RgbColor colour);
    [[nodiscard]] int MulticolourToggled();
    // Preset 0 to 7 (controls 1211 to 1218).
    [[nodiscard]] int PresetChosen(int preset);
    [[nodiscard]] int ColourChoiceChosen(int colourChoice);
    [[nodiscard]] int ReportRateChosen(int reportRate);
    // Field 0 to 2 (red, green, blue). Keeps the digits of `text`, a value
    // of 256 or more becoming "255"; returns what the field then shows.
    std::string NumberFieldEdited(int field, std::string_view text);

    // Whether the model holds `setting` already, so that setting it would
    // send nothing new. Multicolour must be off for a colour or a preset to
    // be held.
    bool Holds(const LightingSetting& setting) const;
    // Sets `setting` through the panel's operation for its field; nothing is
    // sent when the model holds it already (the result is then 1).
    [[nodiscard]] int Set(const LightingSetting& setting);

    // --- Lighting view ----------------------------------------------------
    // Turning on first switches the keyboard to the current profile; when
    // that is refused the view stays off and false is returned. The choice
    // is remembered in the settings file; a write that fails there is lost
    // silently, as every settings write is.
    [[nodiscard]] bool TurnLightingViewOn();
    // The caller redraws the key buttons with their assignments afterwards.
    void TurnLightingViewOff();
    // False only when turning on was refused.
    [[nodiscard]] bool ToggleLightingView();
    bool LightingViewOn() const { return viewOn_.load(); }

    // --- Per-key colours --------------------------------------------------
    // The lighting view's key click.
    [[nodiscard]] int PaintKey(uint32_t controlId);
    KeyColourEditor& Editor() { return editor_; }
    const KeyColourEditor& Editor() const { return editor_; }

    // Effect 1 and the default record on the keyboard; with effect 20
    // offered, the profile's mode file back to the template and its colours
    // to the keyboard.
    [[nodiscard]] int RestoreDefaults();

    // --- State ------------------------------------------------------------
    const LightMode& Mode() const { return mode_; }
    const EffectList& Effects() const { return effects_; }
    const LightingRecords& Records() const { return records_; }
    int CurrentProfile() const { return keyboard_.CurrentProfile(); }
    PanelView View(const base::TextLookup& texts) const;

private:
    // Nothing when the information block could not be read.
    std::optional<int> ReadBackRecords(ReadBackKind kind);
    bool PerKeyOffered() const;
    [[nodiscard]] int ApplyEffect(uint8_t effect);
    [[nodiscard]] int WriteField(uint8_t field, uint8_t value);

    KeyboardLighting keyboard_;
    LightingFiles files_;
    KeyTints& tints_;
    KeyColourEditor editor_;
    SelectProfileFunction selectProfile_;

    LightMode mode_;
    LightingRecords records_{};
    EffectList effects_;
    // Written on the keyboard thread, read by the window to decide a click.
    std::atomic<bool> viewOn_{false};
    std::array<std::string, 3> numberFields_;
};

}  // namespace trevolin::lighting
