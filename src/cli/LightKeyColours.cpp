#include "cli/LightKeyColours.h"

#include "core/lighting/EffectNames.h"

#include "cli/ExitCode.h"
#include "cli/LightArguments.h"
#include "cli/ProfileNumber.h"
#include "core/keyboard/KeyByName.h"
#include "core/lighting/EffectCatalogue.h"
#include "core/lighting/ModeFile.h"

#include <fmt/format.h>

#include <array>
#include <utility>

namespace trevolin::cli {

namespace {

using lighting::ColourPage;
using lighting::KeyColour;
using lighting::RgbColor;

}  // namespace

LightKeyColours::LightKeyColours(LightSession& session, CliContext& context) : session_(session), context_(context)
{
}

int LightKeyColours::RequirePerKey(bool asCurrentEffect, std::string_view what)
{
    const auto& texts = context_.texts;
    const std::string perKeyName = lighting::EffectName(texts, lighting::PerKeyEffect);
    if (!session_.PerKeyOffered()) {
        context_.err << fmt::format(
            "trevolinctl: cannot {}: this keyboard does not offer the per-key effect ({} {}).\n", what,
            lighting::PerKeyEffect, perKeyName);
        return ExitUsage;
    }
    const int current = session_.Controller().Mode().mode;
    if (asCurrentEffect && current != lighting::PerKeyEffect) {
        context_.err << fmt::format(
            "trevolinctl: cannot {}: key colours show only in effect {} ({}), and profile {} is in effect {} ({}). "
            "Choose it first with 'trevolinctl light effect {}'.\n",
            what, lighting::PerKeyEffect, perKeyName, ProfileNumberOf(session_.Profile()), current,
            lighting::EffectName(texts, current), lighting::PerKeyEffect);
        return ExitUsage;
    }
    return ExitOk;
}

int LightKeyColours::RequireUserFolder()
{
    if (context_.locations.EnsureUserFolder())
        return ExitOk;
    context_.err << "trevolinctl: cannot create the user folder " << context_.locations.UserFolder() << ".\n";
    return ExitFileError;
}

int LightKeyColours::ReadKeyboardPage()
{
    return LightSession::Report(context_,
                                session_.Call([&] { return session_.Controller().Editor().ReadPageFromKeyboard(); }),
                                "read the key colours from the keyboard");
}

int LightKeyColours::PrepareColourChange(std::string_view what)
{
    if (const int check = RequirePerKey(true, what); check != ExitOk)
        return check;
    if (const int check = RequireUserFolder(); check != ExitOk)
        return check;
    return ReadKeyboardPage();
}

int LightKeyColours::FileError(const std::string& path)
{
    context_.err << "trevolinctl: cannot write the lighting mode file " << path
                 << "; nothing was sent to the keyboard.\n";
    return ExitFileError;
}

int LightKeyColours::CheckModeFileSaved(std::string_view what)
{
    if (session_.Controller().Editor().ModeFileSaved())
        return ExitOk;
    context_.err << fmt::format("trevolinctl: {}, but the lighting mode file {} could not be written; it does not "
                                "say what the keyboard shows.\n",
                                what, session_.Files().ModeFilePath(session_.Profile()));
    return ExitFileError;
}

int LightKeyColours::Paint(keyboard::KeyRef key, std::optional<RgbColor> colour, int tool)
{
    if (const int check = PrepareColourChange("paint a key"); check != ExitOk)
        return check;
    auto& controller = session_.Controller();
    auto& editor = controller.Editor();
    const int profile = session_.Profile();
    const std::string modeFile = session_.Files().ModeFilePath(profile);

    const bool follows = tool == 1;
    const RgbColor painted = follows ? editor.Settings().baseColour : colour.value_or(editor.Settings().paintColour);
    const uint8_t light = keyboard::LightPositionOf(key);
    const std::string_view name = keyboard::NameOfKey(key);
    if (editor.Page(profile).At(light) == painted && editor.FollowsBase(profile, key) == follows) {
        // The brush and its colour are the user mode's, as the window keeps them.
        if (editor.Settings().tool != tool && !editor.ChooseTool(tool))
            return FileError(modeFile);
        if (tool == 0 && colour && editor.Settings().paintColour != *colour && !editor.ChangePaintColour(*colour))
            return FileError(modeFile);
        const KeyColour entry{painted, follows};
        if (!session_.Files().ModeFileOf(profile).WriteKeyColour(editor.ChosenUserMode(), light, entry))
            return FileError(modeFile);
        Confirm(context_, fmt::format("{} already shows {}; nothing sent.", name, ColourNumbers(painted)));
        return ExitOk;
    }
    const int result = session_.Call([&] {
        return editor.PaintKeyWith(keyboard::ControlIdOf(key), controller.Mode().mode, tool,
                                   tool == 0 ? colour : std::nullopt);
    });
    if (const int code = session_.ReportChange(context_, result, fmt::format("paint {}", name)); code != ExitOk)
        return code;
    if (const int code = CheckModeFileSaved(fmt::format("{} is painted", name)); code != ExitOk)
        return code;
    Confirm(context_, fmt::format("{} painted {}{}.", name, ColourNumbers(painted),
                                  follows ? " (the base colour, which it now follows)" : ""));
    return ExitOk;
}

int LightKeyColours::Page(const std::vector<LightPageFile::Entry>& entries)
{
    if (const int check = PrepareColourChange("set the key colours"); check != ExitOk)
        return check;
    auto& editor = session_.Controller().Editor();
    const int profile = session_.Profile();
    const ColourPage shown = editor.Page(profile);

    // Every key's light, its colour as the keyboard shows it and whether it
    // follows the base colour; then the file's keys, which keep their own.
    std::array<std::optional<KeyColour>, ColourPage::PositionCount> wanted{};
    keyboard::ForEachKey(
        [&](keyboard::KeyRef key) {
            const uint8_t light = keyboard::LightPositionOf(key);
            if (keyboard::HasLight(light) && !wanted[light])
                wanted[light] = KeyColour{shown.At(light), editor.FollowsBase(profile, key)};
        },
        keyboard::FnKeyVisit::Last);
    for (const auto& entry : entries) {
        const uint8_t light = keyboard::LightPositionOf(entry.key);
        if (keyboard::HasLight(light))
            wanted[light] = KeyColour{entry.colour, false};
    }
    std::vector<std::pair<int, KeyColour>> modeEntries;
    bool changes = false;
    for (size_t light = 0; light < wanted.size(); ++light) {
        if (!wanted[light])
            continue;
        modeEntries.emplace_back(static_cast<int>(light), *wanted[light]);
        changes = changes || shown.At(light) != wanted[light]->colour;
    }

    if (!changes) {
        if (!session_.Files().ModeFileOf(profile).WriteKeyColours(editor.ChosenUserMode(), modeEntries))
            return FileError(session_.Files().ModeFilePath(profile));
        Confirm(context_, "The keyboard already shows these colours; nothing sent.");
        return ExitOk;
    }
    // The mode file takes what the keyboard took, so an interrupted page
    // leaves it saying what the keyboard shows.
    const int result = session_.Call([&] { return editor.SetKeyColours(modeEntries); });
    if (const int code = session_.ReportChange(context_, result, "write the key colours"); code != ExitOk)
        return code;
    if (const int code = CheckModeFileSaved("The keyboard took the key colours"); code != ExitOk)
        return code;
    Confirm(context_, fmt::format("Key colours written to profile {} and user mode {}.", ProfileNumberOf(profile),
                                  editor.ChosenUserMode()));
    return ExitOk;
}

int LightKeyColours::PrintPage()
{
    if (const int check = RequirePerKey(false, "read the key colours"); check != ExitOk)
        return check;
    if (const int check = ReadKeyboardPage(); check != ExitOk)
        return check;
    context_.out << LightPageFile::Text(session_.Controller().Editor().Page(session_.Profile()));
    return ExitOk;
}

int LightKeyColours::BaseColour(RgbColor colour)
{
    if (const int check = PrepareColourChange("change the base colour"); check != ExitOk)
        return check;
    auto& editor = session_.Controller().Editor();
    if (editor.Settings().baseColour == colour) {
        Confirm(context_, fmt::format("The base colour is already {}; nothing sent.", ColourNumbers(colour)));
        return ExitOk;
    }
    const int result = session_.Call([&] { return editor.ChangeBaseColour(colour); });
    if (const int code = session_.ReportChange(context_, result, "change the base colour"); code != ExitOk)
        return code;
    if (const int code = CheckModeFileSaved("The keyboard shows the base colour"); code != ExitOk)
        return code;
    Confirm(context_, fmt::format("Base colour {}; the keys that follow it show it now.", ColourNumbers(colour)));
    return ExitOk;
}

int LightKeyColours::UserModes(std::optional<int> userMode, const std::optional<std::string>& rename)
{
    if (const int check = RequirePerKey(false, "use the user modes"); check != ExitOk)
        return check;
    auto& editor = session_.Controller().Editor();
    const int profile = session_.Profile();
    if (!userMode && !rename) {
        const auto& names = editor.UserModeNames();
        for (size_t i = 0; i < names.size(); ++i) {
            context_.out << fmt::format("{} {}  {}\n", static_cast<int>(i) == editor.ChosenUserMode() ? '*' : ' ', i,
                                        names[i]);
        }
        return ExitOk;
    }
    if (const int check = RequireUserFolder(); check != ExitOk)
        return check;
    if (userMode) {
        if (*userMode == editor.ChosenUserMode()) {
            Confirm(context_, fmt::format("User mode {} is already chosen.", *userMode));
        } else {
            // Choosing shows what the keyboard holds; it sends no colours.
            const int result = session_.Call([&] { return editor.ChooseUserMode(*userMode); });
            if (const int code = session_.ReportChange(context_, result, "choose the user mode"); code != ExitOk)
                return code;
            Confirm(context_, fmt::format("User mode {} chosen.", *userMode));
        }
    }
    if (rename) {
        const auto chosen = static_cast<size_t>(editor.ChosenUserMode());
        if (editor.UserModeNames()[chosen] != *rename && !editor.RenameUserMode(*rename))
            return FileError(session_.Files().ModeFilePath(profile));
        Confirm(context_, fmt::format("User mode {} is named \"{}\".", chosen, *rename));
    }
    return ExitOk;
}

}  // namespace trevolin::cli
