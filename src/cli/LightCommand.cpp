#include "cli/LightCommand.h"

#include "cli/ExitCode.h"
#include "cli/LightArguments.h"
#include "cli/LightKeyColours.h"
#include "cli/LightSession.h"
#include "cli/LightSettings.h"
#include "cli/ProfileNumber.h"
#include "core/base/PlainText.h"
#include "core/keyboard/KeyByName.h"
#include "core/lighting/LightMode.h"
#include "core/lighting/LightingRecord.h"
#include "core/lighting/ModeFile.h"
#include "core/lighting/PanelControls.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>

namespace trevolin::cli {

namespace {

using lighting::LightMode;

constexpr const char* LightFooter =
    "Every change is written to the keyboard at once, to its active profile or to the one --profile names\n"
    "(the keyboard keeps each profile's lighting; it shows another profile's once that one is chosen with\n"
    "'trevolinctl profile N'). A value the keyboard already holds is not sent again. Values an effect does\n"
    "not use are kept for when it is chosen.\n"
    "Colours are R,G,B, #rgb, #rrggbb or a name: orange, red, blue, green, yellow, amber, pink, purple (the\n"
    "eight presets), white, black.\n";

std::string PresetList()
{
    std::string list = "Presets:";
    const auto presets = lighting::ColourPresets();
    for (size_t i = 0; i < presets.size(); ++i)
        list += fmt::format(" {}={}", i, ColourNumbers(presets[i].colour));
    return list + "\n";
}

// What was expected, for an argument that was not it.
int Refuse(CliContext& context, std::string_view what, std::string_view typed, std::string_view expected)
{
    context.err << fmt::format("trevolinctl: light {}: \"{}\" is not {}.\n", what, typed, expected);
    return ExitUsage;
}

}  // namespace

CLI::App* LightCommand::AddVerb(CLI::App& light, Action action, const std::string& name, const std::string& description)
{
    CLI::App* app = light.add_subcommand(name, description);
    verbs_.push_back({app, action});
    return app;
}

CLI::App* LightCommand::Register(CLI::App& parent)
{
    auto* light = parent.add_subcommand("light", "Show or change the lighting of the keyboard's active profile "
                                                 "(without a sub-command: show it)");
    light->require_subcommand(0, 1);
    light->add_flag("--json", json_, "Print JSON");
    light
        ->add_option("--profile", profileText_,
                     "Show or change profile N's lighting (1, 2 or 3) instead of the active profile's")
        ->type_name("0|1|2");
    light->footer(LightFooter);

    AddVerb(*light, Action::Show, "show",
            "Show the effect and its settings, the effects the keyboard offers and the chosen user mode")
        ->add_flag("--json", json_, "Print JSON");

    AddVerb(*light, Action::Effect, "effect", "Choose the effect, by number or by name ('trevolinctl info' lists them)")
        ->add_option("EFFECT", value_, "Effect number or name, for example 5 or breathing")
        ->required();
    AddVerb(*light, Action::Brightness, "brightness", "Set the brightness")
        ->add_option("LEVEL", value_, "0 (off) to 4 (brightest)")
        ->required();
    AddVerb(*light, Action::Speed, "speed", "Set the speed, as the window's slider shows it")
        ->add_option("POSITION", value_, "0 to 4, the slider's position from its left end")
        ->required();
    AddVerb(*light, Action::Direction, "direction", "Set the direction of effects 1 to 3, 12 and 18")
        ->add_option("DIRECTION", value_, "left or right (up or down for effect 12, diffuse or converge for 18)")
        ->required();
    AddVerb(*light, Action::Colour, "colour", "Set the effect's colour; multicolour goes off")
        ->alias("color")
        ->add_option("COLOUR", value_, "R,G,B (each 0 to 255), #rgb, #rrggbb or a name such as red")
        ->required();
    AddVerb(*light, Action::Multicolour, "multicolour", "Let the effect cycle through colours, or use its colour")
        ->alias("multicolor")
        ->add_option("ON_OFF", value_, "on or off")
        ->required();
    AddVerb(*light, Action::ColourChoice, "colour-choice", "Choose the colour of effect 17")
        ->alias("color-choice")
        ->add_option("CHOICE", value_, "0 red, 1 yellow, 2 green or 3 blue (the number or the word)")
        ->required();
    AddVerb(*light, Action::ReportRate, "report-rate", "Choose the report rate, one of the window's four buttons")
        ->add_option("RATE", value_, "0 to 3, the buttons from the left")
        ->required();
    auto* preset = AddVerb(*light, Action::Preset, "preset", "Set the effect's colour to one of the eight presets");
    preset->add_option("PRESET", value_, "0 to 7")->required();
    preset->footer(PresetList());

    const std::string keyNames = "Key names (any case): " + keyboard::KeyNameListText() +
                                 ".\nThe G keys share one light: painting one paints all nine.\n";
    auto* paint =
        AddVerb(*light, Action::Paint, "paint", "Paint one key in the per-key effect (20), in the chosen user mode");
    paint->add_option("KEY", key_, "Key name, for example A, F1, Esc, NumEnter, RightShift, G1")->required();
    paint->add_option("COLOUR", colourText_, "R,G,B, #rgb, #rrggbb or a name; becomes the paint colour (brush 0 only)");
    paint
        ->add_option("--tool", tool_,
                     "Brush: 0 paints with COLOUR, 1 with the base colour, which the key then follows (default 0)")
        ->type_name("0|1");
    paint->footer(keyNames);

    auto* page = AddVerb(*light, Action::Page, "page",
                         "Set the colours of many keys at once in the per-key effect (20) and write the whole "
                         "page; without FILE, print the keyboard's page");
    page->add_option("FILE", file_, "Page file, one \"KEY COLOUR\" per line");
    page->footer(std::string(LightPageFile::FormatHelp));

    AddVerb(*light, Action::BaseColour, "base-colour",
            "Set the per-key effect's base colour; the keys that follow it take it")
        ->alias("base-color")
        ->add_option("COLOUR", value_, "R,G,B, #rgb, #rrggbb or a name such as red")
        ->required();
    auto* mode = AddVerb(*light, Action::Mode, "mode",
                         "List the per-key effect's ten user modes, or choose one (N: its key colours go to the keyboard) "
                         "and/or rename the chosen one");
    mode->add_option("N", userModeText_, "User mode 0 to 9");
    mode->add_option("--rename", rename_, "New name of the chosen user mode (of N when given)");
    AddVerb(*light, Action::RestoreDefaults, "restore-defaults",
            "Put the profile's lighting back to its defaults (effect 1, brightness 4, white; the user modes from "
            "the template)");
    // "light paint A red --profile 1" as well as "light --profile 1 paint A red".
    for (const Verb& verb : verbs_)
        verb.app->fallthrough();
    return light;
}

LightCommand::Action LightCommand::ParsedAction() const
{
    for (const Verb& verb : verbs_) {
        if (verb.app->parsed())
            return verb.action;
    }
    return Action::Show;
}

int LightCommand::Validate(Action action, CliContext& context)
{
    profile_.reset();
    if (profileText_) {
        const auto number = base::ParseWholeNumber(*profileText_, FirstProfileNumber, LastProfileNumber);
        if (!number)
            return Refuse(context, "--profile", *profileText_, "a profile from 1 to 3");
        profile_ = ProfileIndexOf(*number);
    }
    const auto number = [&](std::string_view what, int max, std::string_view expected) -> int {
        const auto parsed = base::ParseWholeNumber(value_, 0, max);
        if (!parsed)
            return Refuse(context, what, value_, expected);
        number_ = *parsed;
        return ExitOk;
    };
    const auto colour = [&](std::string_view what, const std::string& text) -> int {
        const auto parsed = ParseColour(text);
        if (!parsed)
            return Refuse(context, what, text, ColourExpected);
        colour_ = *parsed;
        return ExitOk;
    };

    switch (action) {
    case Action::Show:
    case Action::RestoreDefaults:
        return ExitOk;
    case Action::Effect:
        // A name is looked up among the keyboard's effects once it is open.
        if (value_.empty())
            return Refuse(context, "effect", value_, "an effect number or name");
        return ExitOk;
    case Action::Brightness:
        return number("brightness", LightMode::MaxBrightness, "a brightness from 0 to 4");
    case Action::Speed:
        return number("speed", lighting::SliderMaxPosition, "a speed from 0 to 4");
    case Action::ReportRate:
        return number("report-rate", LightMode::MaxReportRate, "a report rate from 0 to 3");
    case Action::Preset:
        return number("preset", static_cast<int>(lighting::PresetCount) - 1, "a preset from 0 to 7");
    case Action::Direction:
        // Which of them the effect has is known once the keyboard is read.
        if (!IsDirectionWord(value_))
            return Refuse(context, "direction", value_, "a direction: left, right, up, down, diffuse or converge");
        return ExitOk;
    case Action::Colour:
        return colour("colour", value_);
    case Action::BaseColour:
        return colour("base-colour", value_);
    case Action::Multicolour: {
        const auto parsed = ParseOnOff(value_);
        if (!parsed)
            return Refuse(context, "multicolour", value_, "on or off");
        on_ = *parsed;
        return ExitOk;
    }
    case Action::ColourChoice: {
        const auto parsed = ParseColourChoice(value_);
        if (!parsed)
            return Refuse(context, "colour-choice", value_, "a colour choice: 0 red, 1 yellow, 2 green or 3 blue");
        number_ = *parsed;
        return ExitOk;
    }
    case Action::Paint: {
        const auto key = keyboard::KeyByName(key_);
        if (!key)
            return Refuse(context, "paint", key_, "a key name; the key names are " + keyboard::KeyNameListText());
        if (!keyboard::HasLight(keyboard::LightPositionOf(*key))) {
            context.err << fmt::format("trevolinctl: light paint: {} has no light of its own, so it cannot be "
                                       "painted.\n",
                                       keyboard::NameOfKey(*key));
            return ExitUsage;
        }
        paintKey_ = *key;
        const auto tool = base::ParseWholeNumber(tool_, 0, 1);
        if (!tool)
            return Refuse(context, "paint --tool", tool_, "a brush: 0 (the paint colour) or 1 (the base colour)");
        toolNumber_ = *tool;
        if (toolNumber_ == 0 && !colourText_) {
            context.err << "trevolinctl: light paint: brush 0 paints with a colour; give it after the key, as in "
                           "'light paint A 255,0,0'.\n";
            return ExitUsage;
        }
        if (toolNumber_ == 1 && colourText_) {
            context.err << "trevolinctl: light paint: brush 1 paints with the base colour and takes no colour of "
                           "its own; set the base colour with 'light base-colour'.\n";
            return ExitUsage;
        }
        paintColour_.reset();
        if (colourText_) {
            if (const int code = colour("paint", *colourText_); code != ExitOk)
                return code;
            paintColour_ = colour_;
        }
        return ExitOk;
    }
    case Action::Page: {
        if (file_.empty())
            return ExitOk;
        const auto loaded = LightPageFile::Read(file_);
        if (loaded.problem == LightPageFile::ReadProblem::Unreadable) {
            context.err << "trevolinctl: light page: cannot read the file " << file_ << ".\n";
            return ExitFileError;
        }
        if (loaded.problem == LightPageFile::ReadProblem::TooLarge) {
            context.err << fmt::format("trevolinctl: light page: {} is larger than a page file can be ({} bytes).\n",
                                       file_, LightPageFile::MaxSize);
            return ExitUsage;
        }
        auto parsed = LightPageFile::Parse(loaded.content);
        if (!parsed.error.empty()) {
            context.err << "trevolinctl: light page: " << file_ << ", " << parsed.error << ".\n";
            return ExitUsage;
        }
        page_ = std::move(parsed.entries);
        return ExitOk;
    }
    case Action::Mode: {
        userMode_.reset();
        if (userModeText_) {
            userMode_ = base::ParseWholeNumber(*userModeText_, 0, lighting::ModeFile::UserModeCount - 1);
            if (!userMode_)
                return Refuse(context, "mode", *userModeText_, "a user mode from 0 to 9");
        }
        if (rename_ && !UsableUserModeName(*rename_))
            return Refuse(context, "mode --rename", *rename_,
                          "a name a user mode can have: one line of 1 to 260 characters");
        return ExitOk;
    }
    }
    return ExitOk;
}

int LightCommand::Execute(CliContext& context)
{
    const Action action = ParsedAction();
    if (const int code = Validate(action, context); code != ExitOk)
        return code;
    int exitCode = ExitOk;
    auto session = LightSession::Open(context, exitCode, profile_);
    if (!session)
        return exitCode;
    const int code = Run(action, *session, context);
    if (code == ExitOk && action != Action::Show && !session->ProfileActive())
        Confirm(context, fmt::format("Profile {} is not the active profile; the keyboard shows its lighting once it "
                                     "is chosen.",
                                     ProfileNumberOf(session->Profile())));
    return code;
}

int LightCommand::Run(Action action, LightSession& session, CliContext& context)
{
    LightSettings settings(session, context);
    LightKeyColours keyColours(session, context);
    switch (action) {
    case Action::Show:
        return settings.Show(json_);
    case Action::Effect:
        return settings.Effect(value_);
    case Action::Brightness:
        return settings.Brightness(number_);
    case Action::Speed:
        return settings.Speed(number_);
    case Action::Direction:
        return settings.Direction(value_);
    case Action::Colour:
        return settings.Colour(colour_);
    case Action::Multicolour:
        return settings.Multicolour(on_);
    case Action::ColourChoice:
        return settings.ColourChoice(number_);
    case Action::ReportRate:
        return settings.ReportRate(number_);
    case Action::Preset:
        return settings.Preset(number_);
    case Action::RestoreDefaults:
        return settings.RestoreDefaults();
    case Action::Paint:
        return keyColours.Paint(paintKey_, paintColour_, toolNumber_);
    case Action::Page:
        return file_.empty() ? keyColours.PrintPage() : keyColours.Page(page_);
    case Action::BaseColour:
        return keyColours.BaseColour(colour_);
    case Action::Mode:
        return keyColours.UserModes(userMode_, rename_);
    }
    return ExitOk;
}

}  // namespace trevolin::cli
