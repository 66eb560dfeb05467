#include "cli/LightSettings.h"

#include "cli/ExitCode.h"
#include "cli/LightArguments.h"
#include "cli/LightShow.h"
#include "core/lighting/EffectCatalogue.h"
#include "core/lighting/PanelControls.h"

#include <fmt/format.h>

#include <optional>
#include <string>

namespace trevolin::cli {

LightSettings::LightSettings(LightSession& session, CliContext& context) : session_(session), context_(context) {}

int LightSettings::Already(std::string_view what)
{
    context_.out << fmt::format("{} already; nothing sent.\n", what);
    return ExitOk;
}

int LightSettings::Done(int result, std::string_view what, std::string_view said)
{
    if (const int code = LightSession::Report(context_, result, what); code != ExitOk)
        return code;
    context_.out << said << ".\n";
    return ExitOk;
}

int LightSettings::Show(bool json)
{
    auto& controller = session_.Controller();
    std::optional<lighting::ColourPage> keyColours;
    if (controller.Mode().mode == lighting::PerKeyEffect) {
        auto& editor = controller.Editor();
        const int result = editor.ReadPageFromKeyboard();
        if (const int code = LightSession::Report(context_, result, "read the key colours"); code != ExitOk)
            return code;
        keyColours = editor.Page(session_.Profile());
    }
    const LightShow show(controller, context_.texts, session_.Profile(), session_.PerKeyOffered(), keyColours);
    if (json) {
        // Names come from files a user edits; bytes that are not UTF-8
        // must not stop the output.
        context_.out << show.Json().dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        return ExitOk;
    }
    show.PrintText(context_.out);
    return ExitOk;
}

int LightSettings::Effect(std::string_view typed)
{
    auto& controller = session_.Controller();
    const auto& texts = context_.texts;
    const auto found = FindEffectArgument(typed, controller.Effects(), texts);
    std::string offered;
    for (const uint8_t effect : controller.Effects().Effects())
        offered += fmt::format("{}{} ({})", offered.empty() ? "" : ", ", effect, texts.ModeText(std::to_string(effect)));
    using Outcome = EffectArgument::Outcome;
    switch (found.outcome) {
    case Outcome::NotOffered:
        context_.err << fmt::format("trevolinctl: light effect: the keyboard does not offer effect {}; it offers {}.\n",
                                    typed, offered);
        return ExitUsage;
    case Outcome::UnknownName:
        context_.err << fmt::format("trevolinctl: light effect: \"{}\" is not the number or name of an effect the "
                                    "keyboard offers: {}.\n",
                                    typed, offered);
        return ExitUsage;
    case Outcome::AmbiguousName:
        context_.err << fmt::format("trevolinctl: light effect: several effects are named \"{}\"; give its number: "
                                    "{}.\n",
                                    typed, offered);
        return ExitUsage;
    case Outcome::Found:
        break;
    }
    const int effect = found.effect;
    const std::string name = texts.ModeText(std::to_string(effect));
    if (!lighting::FindEffect(effect)) {
        context_.err << fmt::format("trevolinctl: light effect: the keyboard offers effect {}, but this program does "
                                    "not know its settings and does not choose it.\n",
                                    effect);
        return ExitUsage;
    }
    if (controller.Mode().mode == effect)
        return Already(fmt::format("Effect {} ({}) is chosen", effect, name));
    return Done(controller.ChooseEffect(effect), "choose the effect", fmt::format("Effect {} ({})", effect, name));
}

int LightSettings::Brightness(int level)
{
    auto& controller = session_.Controller();
    if (controller.Mode().brightness == level)
        return Already(fmt::format("Brightness is {}", level));
    return Done(controller.BrightnessChanged(level), "set the brightness", fmt::format("Brightness {}", level));
}

int LightSettings::Speed(int position)
{
    auto& controller = session_.Controller();
    if (lighting::SliderMaxPosition - controller.Mode().speed == position)
        return Already(fmt::format("Speed is {}", position));
    return Done(controller.SpeedChanged(position), "set the speed", fmt::format("Speed {}", position));
}

int LightSettings::Direction(uint8_t direction)
{
    auto& controller = session_.Controller();
    const std::string_view word = DirectionName(controller.Mode().mode, direction);
    if (controller.Mode().direction == direction)
        return Already(fmt::format("Direction is {}", word));
    return Done(controller.DirectionChosen(direction), "set the direction", fmt::format("Direction {}", word));
}

int LightSettings::Colour(lighting::RgbColor colour)
{
    auto& controller = session_.Controller();
    if (controller.Mode().colour == colour && !controller.Mode().multicolour)
        return Already(fmt::format("Colour is {}", ColourNumbers(colour)));
    return Done(controller.ColourChosen(colour), "set the colour",
                fmt::format("Colour {}, multicolour off", ColourNumbers(colour)));
}

int LightSettings::Multicolour(bool on)
{
    auto& controller = session_.Controller();
    if (controller.Mode().multicolour == on)
        return Already(fmt::format("Multicolour is {}", on ? "on" : "off"));
    return Done(controller.MulticolourToggled(), "switch multicolour", fmt::format("Multicolour {}", on ? "on" : "off"));
}

int LightSettings::ColourChoice(int colourChoice)
{
    auto& controller = session_.Controller();
    if (controller.Mode().colourChoice == colourChoice)
        return Already(fmt::format("Colour choice is {}", ColourChoiceName(colourChoice)));
    return Done(controller.ColourChoiceChosen(colourChoice), "set the colour choice",
                fmt::format("Colour choice {}", ColourChoiceName(colourChoice)));
}

int LightSettings::ReportRate(int reportRate)
{
    auto& controller = session_.Controller();
    if (controller.Mode().reportRate == reportRate)
        return Already(fmt::format("Report rate is {}", reportRate));
    return Done(controller.ReportRateChosen(reportRate), "set the report rate",
                fmt::format("Report rate {}", reportRate));
}

int LightSettings::Preset(int preset)
{
    auto& controller = session_.Controller();
    const lighting::RgbColor colour = lighting::ColourPresets()[static_cast<size_t>(preset)].colour;
    if (controller.Mode().colour == colour && !controller.Mode().multicolour)
        return Already(fmt::format("Colour is preset {} ({})", preset, ColourNumbers(colour)));
    return Done(controller.PresetChosen(preset), "set the colour",
                fmt::format("Colour preset {} ({}), multicolour off", preset, ColourNumbers(colour)));
}

int LightSettings::RestoreDefaults()
{
    // With the per-key effect offered, restoring also resets the profile's
    // mode file from the template.
    if (session_.PerKeyOffered() && !context_.locations.EnsureUserFolder()) {
        context_.err << "trevolinctl: cannot create the user folder " << context_.locations.UserFolder() << ".\n";
        return ExitFileError;
    }
    return Done(session_.Controller().RestoreDefaults(), "restore the lighting defaults",
                fmt::format("Profile {}'s lighting is back to its defaults", session_.Profile()));
}

}  // namespace trevolin::cli
