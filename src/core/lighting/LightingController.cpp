#include "core/lighting/LightingController.h"

#include "core/device/InfoBlock.h"
#include "core/lighting/EffectCatalogue.h"
#include "core/lighting/LightingResults.h"
#include "core/lighting/PanelControls.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace trevolin::lighting {

namespace {

constexpr std::string_view NumberFieldCap = "255";

}  // namespace

LightingController::LightingController(device::KeyboardCommands& commands, LightingFiles files, KeyTints& tints)
    : keyboard_(commands),
      files_(std::move(files)),
      tints_(tints),
      editor_(keyboard_, files_, tints_)
{
}

bool LightingController::PerKeyOffered() const
{
    return effects_.Contains(PerKeyEffect);
}

int LightingController::ReadBack(ReadBackKind kind)
{
    return ReadBackRecords(kind).value_or(ResultReadBackFailed);
}

std::optional<int> LightingController::ReadBackRecords(ReadBackKind kind)
{
    effects_.Clear();
    device::InfoBlock info;
    if (keyboard_.ReadInfo(info) != device::ResultOk)
        return std::nullopt;
    effects_.Build(info.EffectSlots());

    const int profile = keyboard_.CurrentProfile();
    if (kind != ReadBackKind::ProfileSwitch && PerKeyOffered())
        editor_.LoadUserMode(profile);
    const int result = keyboard_.ReadRecords(records_);
    if (profile >= 0)
        LightingRecord::Decode(records_[static_cast<size_t>(profile)], mode_);

    const bool storedOn = files_.ReadLightingView();
    if (kind == ReadBackKind::Connection)
        viewOn_ = storedOn;
    else if (storedOn)
        viewOn_ = true;
    return result;
}

int LightingController::RefreshLightingPanel()
{
    if (viewOn_ && mode_.mode == PerKeyEffect)
        return editor_.ReadPageFromKeyboard();
    return device::ResultOk;
}

int LightingController::OnConnected()
{
    const auto readBack = ReadBackRecords(ReadBackKind::Connection);
    if (!readBack)
        return ResultReadBackFailed;
    int result = *readBack;
    KeepFirstFailure(result, RefreshLightingPanel());
    if (PerKeyOffered())
        editor_.RecomputeFollowsBaseFlags();
    return result;
}

int LightingController::OnLightingChanged()
{
    const auto readBack = ReadBackRecords(ReadBackKind::Refresh);
    if (!readBack)
        return ResultReadBackFailed;
    int result = *readBack;
    KeepFirstFailure(result, RefreshLightingPanel());
    return result;
}

int LightingController::SwitchProfile(int profile)
{
    if (profile < 0 || profile >= LightingRecord::ProfileCount)
        return ResultRejected;
    keyboard_.SetCurrentProfile(profile);
    int result = ReadBack(ReadBackKind::ProfileSwitch);
    if (PerKeyOffered())
        editor_.LoadUserMode(profile);
    KeepFirstFailure(result, RefreshLightingPanel());
    if (viewOn_)
        TurnLightingViewOff();
    return result;
}

int LightingController::EffectChanged(int listIndex)
{
    const auto effect = effects_.EffectAt(listIndex);
    return effect ? ChooseEffect(*effect) : ResultRejected;
}

int LightingController::ChooseEffect(int effect)
{
    if (!effects_.Contains(effect))
        return ResultRejected;
    if (!FindEffect(effect))
        return ResultRejected;
    return ApplyEffect(static_cast<uint8_t>(effect));
}

int LightingController::ApplyEffect(uint8_t effect)
{
    const int profile = keyboard_.CurrentProfile();
    const auto traits = FindEffect(effect);
    if (profile < 0 || !traits)
        return ResultRejected;
    tints_.ClearAll();
    const std::optional<bool> multicolour =
        traits->resendsMulticolour ? std::optional<bool>(mode_.multicolour) : std::nullopt;
    const int result = keyboard_.WriteEffect(profile, effect, multicolour);
    mode_.mode = effect;
    if (effect == PerKeyEffect)
        editor_.PaintKeysFromPage();
    return result;
}

int LightingController::WriteField(uint8_t field, uint8_t value)
{
    return keyboard_.WriteField(keyboard_.CurrentProfile(), field, value);
}

int LightingController::BrightnessChanged(int position)
{
    if (position < 0 || position > SliderMaxPosition || keyboard_.CurrentProfile() < 0)
        return ResultRejected;
    const auto brightness = static_cast<uint8_t>(position);
    if (brightness == mode_.brightness)
        return device::ResultOk;
    mode_.brightness = brightness;
    return WriteField(LightingRecord::Brightness, brightness);
}

int LightingController::SpeedChanged(int position)
{
    if (position < 0 || position > SliderMaxPosition || keyboard_.CurrentProfile() < 0)
        return ResultRejected;
    const auto speed = static_cast<uint8_t>(SliderMaxPosition - position);
    if (speed == mode_.speed)
        return device::ResultOk;
    mode_.speed = speed;
    return WriteField(LightingRecord::Speed, speed);
}

bool LightingController::Holds(const LightingSetting& setting) const
{
    using Field = LightingSetting::Field;
    const int value = setting.value;
    switch (setting.field) {
    case Field::Effect:
        return mode_.mode == value;
    case Field::Brightness:
        return mode_.brightness == value;
    case Field::Speed:
        return SliderMaxPosition - mode_.speed == value;
    case Field::Direction:
        return mode_.direction == value;
    case Field::Colour:
        return mode_.colour == setting.colour && !mode_.multicolour;
    case Field::Multicolour:
        return mode_.multicolour == (value != 0);
    case Field::ColourChoice:
        return mode_.colourChoice == value;
    case Field::ReportRate:
        return mode_.reportRate == value;
    case Field::Preset:
        return value >= 0 && static_cast<size_t>(value) < PresetCount &&
               mode_.colour == ColourPresets()[static_cast<size_t>(value)].colour && !mode_.multicolour;
    }
    return false;
}

int LightingController::Set(const LightingSetting& setting)
{
    if (Holds(setting))
        return device::ResultOk;
    using Field = LightingSetting::Field;
    switch (setting.field) {
    case Field::Effect:
        return ChooseEffect(setting.value);
    case Field::Brightness:
        return BrightnessChanged(setting.value);
    case Field::Speed:
        return SpeedChanged(setting.value);
    case Field::Direction:
        if (setting.value < 0 || setting.value > 255)
            return ResultRejected;
        return DirectionChosen(static_cast<uint8_t>(setting.value));
    case Field::Colour:
        return ColourChosen(setting.colour);
    case Field::Multicolour:
        return MulticolourToggled();
    case Field::ColourChoice:
        return ColourChoiceChosen(setting.value);
    case Field::ReportRate:
        return ReportRateChosen(setting.value);
    case Field::Preset:
        return PresetChosen(setting.value);
    }
    return ResultRejected;
}

int LightingController::SliderMoved(uint32_t controlId, int position)
{
    if (controlId == control::LightSlider)
        return BrightnessChanged(position);
    if (controlId == control::SpeedSlider)
        return SpeedChanged(position);
    return ResultRejected;
}

int LightingController::DirectionChosen(uint8_t direction)
{
    if ((direction != LightMode::DirectionLeft && direction != LightMode::DirectionRight) ||
        keyboard_.CurrentProfile() < 0)
        return ResultRejected;
    mode_.direction = direction;
    return WriteField(LightingRecord::Direction, direction);
}

int LightingController::ColourChosen(RgbColor colour)
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0)
        return ResultRejected;
    mode_.colour = colour;
    mode_.multicolour = false;
    return keyboard_.WriteColour(profile, colour);
}

int LightingController::MulticolourToggled()
{
    if (keyboard_.CurrentProfile() < 0)
        return ResultRejected;
    mode_.multicolour = !mode_.multicolour;
    return WriteField(LightingRecord::Multicolour, static_cast<uint8_t>(mode_.multicolour ? 1 : 0));
}

int LightingController::PresetChosen(int preset)
{
    if (preset < 0 || static_cast<size_t>(preset) >= PresetCount || keyboard_.CurrentProfile() < 0)
        return ResultRejected;
    const RgbColor colour = ColourPresets()[static_cast<size_t>(preset)].colour;
    numberFields_ = {std::to_string(colour.red), std::to_string(colour.green), std::to_string(colour.blue)};
    // The model mirrors what the keyboard now shows, so the colour buttons,
    // the preview and a later effect change agree with the keyboard.
    return ColourChosen(colour);
}

int LightingController::ColourChoiceChosen(int colourChoice)
{
    if (colourChoice < 0 || colourChoice > LightMode::MaxColourChoice || keyboard_.CurrentProfile() < 0)
        return ResultRejected;
    mode_.colourChoice = static_cast<uint8_t>(colourChoice);
    return WriteField(LightingRecord::ColourChoice, mode_.colourChoice);
}

int LightingController::ReportRateChosen(int reportRate)
{
    if (reportRate < 0 || reportRate > LightMode::MaxReportRate || keyboard_.CurrentProfile() < 0)
        return ResultRejected;
    const uint8_t before = mode_.reportRate;
    mode_.reportRate = static_cast<uint8_t>(reportRate);
    const int result = WriteField(LightingRecord::ReportRate, mode_.reportRate);
    // The buttons show what the keyboard holds, not what it refused.
    if (result != device::ResultOk)
        mode_.reportRate = before;
    return result;
}

std::string ClampNumberField(std::string_view text)
{
    std::string digits;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            continue;
        digits.push_back(c);
        value = std::min(value * 10 + (c - '0'), 256);
    }
    return value >= 256 ? std::string(NumberFieldCap) : digits;
}

std::string LightingController::NumberFieldEdited(int field, std::string_view text)
{
    if (field < 0 || static_cast<size_t>(field) >= numberFields_.size())
        return {};
    auto& shown = numberFields_[static_cast<size_t>(field)];
    shown = ClampNumberField(text);
    return shown;
}

bool LightingController::TurnLightingViewOn()
{
    if (viewOn_)
        return true;
    viewOn_ = true;
    if (selectProfile_ && !selectProfile_(keyboard_.CurrentProfile())) {
        // Left on, the keys would paint and animate under a panel that
        // shows the view off.
        viewOn_ = false;
        return false;
    }
    // A settings write that fails is lost silently, as every one is.
    static_cast<void>(files_.WriteLightingView(true));
    tints_.ClearAll();
    if (mode_.mode == PerKeyEffect)
        editor_.PaintKeysFromPage();
    return true;
}

void LightingController::TurnLightingViewOff()
{
    viewOn_ = false;
    static_cast<void>(files_.WriteLightingView(false));
    tints_.ClearAll();
}

bool LightingController::ToggleLightingView()
{
    if (!viewOn_)
        return TurnLightingViewOn();
    TurnLightingViewOff();
    return true;
}

int LightingController::PaintKey(uint32_t controlId)
{
    return editor_.PaintKey(controlId, mode_.mode);
}

int LightingController::RestoreDefaults()
{
    const int profile = keyboard_.CurrentProfile();
    if (profile < 0)
        return ResultRejected;
    int result = ApplyEffect(1);
    if (PerKeyOffered()) {
        KeepFirstFailure(result, editor_.RestoreFromTemplate());
    }
    KeepFirstFailure(result, keyboard_.WriteDefaults(profile));
    mode_ = LightMode{};
    return result;
}

PanelView LightingController::View(const base::TextLookup& texts) const
{
    const PanelState state{mode_,
                           effects_,
                           viewOn_.load(),
                           numberFields_,
                           editor_.UserModeNames(),
                           editor_.ChosenUserMode(),
                           editor_.Settings()};
    return PanelView::Build(state, texts);
}

}  // namespace trevolin::lighting
