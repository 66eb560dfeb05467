#include "cli/ProfileCommand.h"

#include "cli/ProfileNumber.h"
#include "cli/ProfileWorkspace.h"
#include "core/profiles/ActiveProfile.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

namespace trevolin::cli {

CLI::App* ProfileCommand::Register(CLI::App& parent)
{
    auto* sub = parent.add_subcommand("profile", "Show the keyboard's active profile, or switch to profile N");
    sub->add_option("profile", profile_, "The profile to switch to: 1, 2 or 3")
        ->check(CLI::Range(FirstProfileNumber, LastProfileNumber));
    sub->add_flag("--json", json_, "Print JSON");
    return sub;
}

int ProfileCommand::Execute(CliContext& context)
{
    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode);
    if (!workspace)
        return exitCode;
    auto& profiles = workspace->Profiles();

    const bool switching = profile_ >= FirstProfileNumber;
    if (switching) {
        // As the window's profile button: the lighting follows, then the
        // keyboard switches.
        if (!workspace->Call([&] { return workspace->App().SwitchToProfile(ProfileIndexOf(profile_)); })) {
            context.err << "trevolinctl: the keyboard did not switch to profile " << profile_ << ".\n";
            return ExitKeyboardError;
        }
    }
    const auto menu = workspace->Call([&] { return profiles.BuildProfileMenu(); });
    const int active = workspace->Call([&] { return profiles::GetActiveProfile(workspace->Session()); });
    if (json_) {
        nlohmann::json j{
            {"activeProfile", active}, {"activeProfileNumber", ProfileNumberOf(active)}, {"name", menu.profileName}};
        context.out << j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    } else if (switching) {
        Confirm(context, "Profile " + std::to_string(ProfileNumberOf(active)) + " is now active.");
    } else {
        context.out << "Active profile " << ProfileNumberOf(active) << "\n";
    }
    return ExitOk;
}

}  // namespace trevolin::cli
