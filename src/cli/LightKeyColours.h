#pragma once

#include "cli/CliCommand.h"
#include "cli/LightPageFile.h"
#include "cli/LightSession.h"
#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/RgbColor.h"

#include <optional>
#include <string>
#include <vector>

namespace trevolin::cli {

// The per-key effect's part of `trevolinctl light`: painting keys, whole
// pages, the base colour and the user modes. Each returns an exit code and
// has said on the context's streams what it did or why it did not.
//
// What the keyboard shows is read first, as the lighting view does before
// the user paints, so that a colour the keyboard already shows is not sent
// again; the chosen user mode of the profile's mode file takes every colour
// set here, as it does when painting in the window.
class LightKeyColours {
public:
    LightKeyColours(LightSession& session, CliContext& context);

    // Tool 0 paints with `colour`, which becomes the paint colour; tool 1
    // with the base colour, and the key then follows it.
    int Paint(keyboard::KeyRef key, std::optional<lighting::RgbColor> colour, int tool);
    // The named keys take their colours, the others keep what the keyboard
    // shows; the whole page goes to the keyboard.
    int Page(const std::vector<LightPageFile::Entry>& entries);
    // The keyboard's page, in the page file's form.
    int PrintPage();
    int BaseColour(lighting::RgbColor colour);
    // Lists the user modes; or chooses one and/or renames the chosen one.
    int UserModes(std::optional<int> userMode, const std::optional<std::string>& rename);

private:
    // ExitOk when the keyboard offers the per-key effect and, when asked,
    // it is the current effect; otherwise says so.
    int RequirePerKey(bool asCurrentEffect, std::string_view what);
    int RequireUserFolder();
    int ReadKeyboardPage();
    // Every change of the key colours: effect 20 running, the user folder
    // there, the keyboard's page read.
    int PrepareColourChange(std::string_view what);
    int FileError(const std::string& path);
    // After the keyboard took a change: ExitOk when the mode file took it
    // too, else says that the file lags behind the keyboard.
    int CheckModeFileSaved(std::string_view what);

    LightSession& session_;
    CliContext& context_;
};

}  // namespace trevolin::cli
