#include "cli/LightSettings.h"

#include "core/lighting/EffectNames.h"

#include "cli/ExitCode.h"
#include "cli/LightArguments.h"
#include "cli/LightShow.h"
#include "cli/ProfileNumber.h"
#include "core/lighting/EffectCatalogue.h"
#include "core/lighting/EffectDirections.h"
#include "core/lighting/PanelControls.h"

#include <fmt/format.h>

#include <optional>
#include <string>

namespace trevolin::cli {

using Field = lighting::LightingSetting::Field;

LightSettings::LightSettings(LightSession& session, CliContext& context) : session_(session), context_(context)
{
}

int LightSettings::Already(std::string_view what)
{
    Confirm(context_, fmt::format("{} already; nothing sent.", what));
    return ExitOk;
}

int LightSettings::Change(const lighting::LightingSetting& setting, std::string_view already, std::string_view what,
                          std::string_view said)
{
    auto& controller = session_.Controller();
    if (controller.Holds(setting))
        return Already(already);
    return Done(session_.Call([&] { return controller.Set(setting); }), what, said);
}

int LightSettings::Done(int result, std::string_view what, std::string_view said)
{
    if (const int code = session_.ReportChange(context_, result, what); code != ExitOk)
        return code;
    Confirm(context_, std::string(said) + ".");
    return ExitOk;
}

int LightSettings::Show(bool json)
{
    auto& controller = session_.Controller();
    std::optional<lighting::ColourPage> keyColours;
    if (controller.Mode().mode == lighting::PerKeyEffect) {
        auto& editor = controller.Editor();
        const int result = session_.Call([&] { return editor.ReadPageFromKeyboard(); });
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
        offered += fmt::format("{}{} ({})", offered.empty() ? "" : ", ", effect, lighting::EffectName(texts, effect));
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
    const std::string name = lighting::EffectName(texts, effect);
    if (!lighting::FindEffect(effect)) {
        context_.err << fmt::format("trevolinctl: light effect: the keyboard offers effect {}, but this program does "
                                    "not know its settings and does not choose it.\n",
                                    effect);
        return ExitUsage;
    }
    return Change({Field::Effect, effect}, fmt::format("Effect {} ({}) is chosen", effect, name), "choose the effect",
                  fmt::format("Effect {} ({})", effect, name));
}

int LightSettings::Brightness(int level)
{
    return Change({Field::Brightness, level}, fmt::format("Brightness is {}", level), "set the brightness",
                  fmt::format("Brightness {}", level));
}

int LightSettings::Speed(int position)
{
    return Change({Field::Speed, position}, fmt::format("Speed is {}", position), "set the speed",
                  fmt::format("Speed {}", position));
}

int LightSettings::Direction(std::string_view word)
{
    const int effect = session_.Controller().Mode().mode;
    const auto choices = lighting::DirectionsOf(effect);
    const std::string effectName = fmt::format("effect {} ({})", effect, lighting::EffectName(context_.texts, effect));
    if (choices.empty()) {
        context_.err << fmt::format("trevolinctl: light direction: {} has no direction.\n", effectName);
        return ExitUsage;
    }
    const auto direction = lighting::DirectionValueOf(effect, word);
    if (!direction) {
        context_.err << fmt::format("trevolinctl: light direction: {} goes {} or {}, not \"{}\".\n", effectName,
                                    choices[0].word, choices[1].word, word);
        return ExitUsage;
    }
    const std::string_view shown = lighting::DirectionWordOf(effect, *direction);
    return Change({Field::Direction, *direction}, fmt::format("Direction is {}", shown), "set the direction",
                  fmt::format("Direction {}", shown));
}

int LightSettings::Colour(lighting::RgbColor colour)
{
    return Change(lighting::LightingSetting(colour), fmt::format("Colour is {}", ColourNumbers(colour)),
                  "set the colour", fmt::format("Colour {}, multicolour off", ColourNumbers(colour)));
}

int LightSettings::Multicolour(bool on)
{
    return Change({Field::Multicolour, on ? 1 : 0}, fmt::format("Multicolour is {}", on ? "on" : "off"),
                  "switch multicolour", fmt::format("Multicolour {}", on ? "on" : "off"));
}

int LightSettings::ColourChoice(int colourChoice)
{
    return Change({Field::ColourChoice, colourChoice},
                  fmt::format("Colour choice is {}", ColourChoiceName(colourChoice)), "set the colour choice",
                  fmt::format("Colour choice {}", ColourChoiceName(colourChoice)));
}

int LightSettings::ReportRate(int reportRate)
{
    return Change({Field::ReportRate, reportRate}, fmt::format("Report rate is {}", reportRate), "set the report rate",
                  fmt::format("Report rate {}", reportRate));
}

int LightSettings::Preset(int preset)
{
    const lighting::RgbColor colour = lighting::ColourPresets()[static_cast<size_t>(preset)].colour;
    return Change({Field::Preset, preset}, fmt::format("Colour is preset {} ({})", preset, ColourNumbers(colour)),
                  "set the colour",
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
    return Done(session_.Call([&] { return session_.Controller().RestoreDefaults(); }), "restore the lighting defaults",
                fmt::format("Profile {}'s lighting is back to its defaults", ProfileNumberOf(session_.Profile())));
}

}  // namespace trevolin::cli
