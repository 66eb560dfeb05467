#pragma once

#include "cli/CliCommand.h"
#include "cli/LightPageFile.h"
#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/RgbColor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trevolin::cli {

class LightSession;

// `light`: shows the lighting of the keyboard's active profile (or of the
// profile --profile names) and changes it one control at a time, each change
// written to the keyboard at once.
// Arguments are checked before the keyboard is opened where that can be
// done without it; a value the keyboard already holds is not sent again.
class LightCommand final : public CliCommand {
public:
    CLI::App* Register(CLI::App& parent) override;
    int Execute(CliContext& context) override;

private:
    enum class Action {
        Show,
        Effect,
        Brightness,
        Speed,
        Direction,
        Colour,
        Multicolour,
        ColourChoice,
        ReportRate,
        Preset,
        Paint,
        Page,
        BaseColour,
        Mode,
        RestoreDefaults,
    };
    struct Verb {
        CLI::App* app = nullptr;
        Action action = Action::Show;
    };

    CLI::App* AddVerb(CLI::App& light, Action action, const std::string& name, const std::string& description);
    Action ParsedAction() const;
    // Checks what can be checked without the keyboard and keeps the values.
    int Validate(Action action, CliContext& context);
    int Run(Action action, LightSession& session, CliContext& context);

    std::vector<Verb> verbs_;
    bool json_ = false;
    std::optional<std::string> profileText_;
    std::optional<int> profile_;

    // As typed.
    std::string value_;
    std::string key_;
    std::string tool_ = "0";
    std::optional<std::string> colourText_;
    std::string file_;
    std::optional<std::string> userModeText_;
    std::optional<std::string> rename_;

    // As understood.
    int number_ = 0;
    bool on_ = false;
    lighting::RgbColor colour_;
    std::optional<lighting::RgbColor> paintColour_;
    keyboard::KeyRef paintKey_;
    int toolNumber_ = 0;
    std::vector<LightPageFile::Entry> page_;
    std::optional<int> userMode_;
};

}  // namespace trevolin::cli
