#pragma once

#include "cli/CliCommand.h"
#include "cli/LightSession.h"
#include "core/lighting/RgbColor.h"

#include <cstdint>
#include <string_view>

namespace trevolin::cli {

// The profile-wide part of `trevolinctl light`: showing the lighting and
// changing one of its settings. Each returns an exit code and has said on
// the context's streams what it did or why it did not. A value the
// keyboard already holds is not sent again, as a slider moved onto its own
// position sends nothing.
class LightSettings {
public:
    LightSettings(LightSession& session, CliContext& context);

    int Show(bool json);
    // By number or by name among the effects the keyboard offers.
    int Effect(std::string_view typed);
    int Brightness(int level);
    // The slider's position; the keyboard keeps 4 minus it.
    int Speed(int position);
    // `word` names a direction of the current effect: left/right, up/down
    // or diffuse/converge.
    int Direction(std::string_view word);
    int Colour(lighting::RgbColor colour);
    int Multicolour(bool on);
    int ColourChoice(int colourChoice);
    int ReportRate(int reportRate);
    int Preset(int preset);
    int RestoreDefaults();

private:
    int Already(std::string_view what);
    int Done(int result, std::string_view what, std::string_view said);
    // Says `already` when the keyboard holds the setting, else sets it.
    int Change(const lighting::LightingSetting& setting, std::string_view already, std::string_view what,
               std::string_view said);

    LightSession& session_;
    CliContext& context_;
};

}  // namespace trevolin::cli
