#include "cli/CliApp.h"

#include "cli/CliCommand.h"
#include "cli/ExitCode.h"
#include "cli/BackupCommand.h"
#include "cli/ExportCommand.h"
#include "cli/InfoCommand.h"
#include "cli/KeyCommand.h"
#include "cli/KeysCommand.h"
#include "cli/MacroCommand.h"
#include "cli/ProfileCommand.h"
#include "cli/RestoreCommand.h"
#include "cli/RawReadCommand.h"
#include "cli/LightCommand.h"

#include "core/base/Environment.h"
#include "core/base/Language.h"
#include "core/base/ProgramVersion.h"
#include "core/base/SettingsStore.h"
#include "core/device/WriteDescription.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace trevolin::cli {

namespace {

constexpr const char* ExitCodesText =
    "Profiles are numbered 1 to 3, as in the window; --json output also gives the keyboard's index 0 to 2.\n"
    "\n"
    "Exit codes:\n"
    "  0  done\n"
    "  1  the keyboard refused the request or did not answer\n"
    "  2  bad arguments\n"
    "  3  no keyboard attached\n"
    "  4  a keyboard is attached but this user may not open it (install the udev rule)\n"
    "  5  the HID library is missing or is not a Trevolin transport library\n"
    "  6  the macros do not fit the keyboard's memory\n"
    "  7  the file is not a profile exchange file\n"
    "  8  a file could not be read or written\n"
    "  9  another Trevolin program kept the keyboard busy\n";

// CLI11 reports a mistyped command as a missing one ("A subcommand is
// required"); the word the user typed is what went wrong.
std::string ParseProblem(CLI::App& app, const CLI::ParseError& error)
{
    if (app.get_subcommands().empty()) {
        for (const std::string& word : app.remaining()) {
            if (!word.empty() && word.front() != '-')
                return "unknown command \"" + word + "\"";
        }
    }
    return error.what();
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               device::KeyboardCommands::ChangeObserver onKeyboardChange, bool& jsonResult)
{
    CLI::App app("trevolinctl: configure the keyboard from the command line", "trevolinctl");
    app.footer(ExitCodesText);
    app.require_subcommand(1);
    // An option a command does not have is the program's: `key set A key:B
    // --json` asks for the result as JSON.
    app.fallthrough();
    app.add_flag("--json", jsonResult,
                 "Print the result as one JSON object: ok, exitCode, messages, output and the parts of the "
                 "keyboard that were written (commands with their own --json print their data instead)");
    app.set_version_flag("--version", "trevolinctl " + std::string(base::ProgramVersion()));

    ConnectionOptions connection;
    auto* simulate = app.add_flag("--simulate", connection.simulate, "Use the simulated keyboard");
    app.add_option("--hid-library", connection.hidLibrary, "Path of the HID transport library to use")
        ->excludes(simulate);
    bool quiet = false;
    app.add_flag("--quiet,-q", quiet,
                 "Say nothing when a change succeeds (errors and the data a command shows are still printed)");
    std::string userFolder;
    app.add_option("--user-folder", userFolder,
                   "Folder of the profile file and the lighting mode files (default: $XDG_DATA_HOME/Dravik-RGB_01)");

    std::vector<std::pair<CLI::App*, std::unique_ptr<CliCommand>>> commands;
    auto add = [&](std::unique_ptr<CliCommand> command) {
        CLI::App* sub = command->Register(app);
        commands.emplace_back(sub, std::move(command));
    };
    add(std::make_unique<InfoCommand>());
    add(std::make_unique<ProfileCommand>());
    add(std::make_unique<KeysCommand>());
    add(std::make_unique<KeyCommand>());
    add(std::make_unique<MacroCommand>());
    add(std::make_unique<ExportCommand>());
    add(std::make_unique<BackupCommand>());
    add(std::make_unique<RestoreCommand>());
    add(std::make_unique<RawReadCommand>());
    add(std::make_unique<LightCommand>());

    // CLI11 wants argv order reversed when given a vector.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return ExitOk;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return ExitOk;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << "\n";
        return ExitOk;
    } catch (const CLI::ParseError& e) {
        err << "trevolinctl: " << ParseProblem(app, e) << "\n"
            << "Run 'trevolinctl --help' for the commands and their arguments.\n";
        return ExitUsage;
    }

    const auto environment = base::Environment::System();
    auto locations = base::Locations::ForThisProcess(environment);
    if (!locations) {
        err << "trevolinctl: cannot tell where the program's files are (is $HOME set?).\n";
        return ExitFileError;
    }
    if (!userFolder.empty()) {
        std::error_code ec;
        const auto absolute = std::filesystem::absolute(userFolder, ec);
        auto moved = ec ? std::nullopt : locations->WithUserFolder(absolute.string());
        if (!moved) {
            err << "trevolinctl: --user-folder " << userFolder << " is not a usable folder path.\n";
            return ExitUsage;
        }
        locations = moved;
    }
    base::Language language(*locations, base::SettingsStore(base::SettingsStore::DefaultFile(environment).value_or("")),
                            environment);

    connection.onKeyboardChange = std::move(onKeyboardChange);
    CliContext context{connection, out, err, *locations, language, quiet};
    for (auto& [sub, command] : commands) {
        if (!sub->parsed())
            continue;
        // Nothing a command meets may end the program with an exception
        // instead of a sentence and an exit code.
        try {
            return command->Execute(context);
        } catch (const std::exception& e) {
            err << "trevolinctl: " << e.what() << "\n";
            return ExitKeyboardError;
        }
    }
    err << "trevolinctl: no command given.\n";
    return ExitUsage;
}

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        constexpr std::string_view Prefix = "trevolinctl: ";
        if (line.starts_with(Prefix))
            line.erase(0, Prefix.size());
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::ostringstream capturedOut, capturedErr;
    std::vector<std::string> changed;
    auto note = [&changed](uint8_t command, uint16_t offset) {
        const std::string what = device::DescribeKeyboardChange(command, offset);
        if (!what.empty() && std::find(changed.begin(), changed.end(), what) == changed.end())
            changed.push_back(what);
    };
    bool jsonResult = false;
    const int exitCode = RunCommand(args, capturedOut, capturedErr, note, jsonResult);
    // A command line that could not be parsed set no flag, but still asked.
    if (exitCode == ExitUsage && std::find(args.begin(), args.end(), "--json") != args.end())
        jsonResult = true;
    if (!jsonResult) {
        out << capturedOut.str();
        err << capturedErr.str();
        return exitCode;
    }
    std::string command;
    for (const auto& word : args)
        command += (command.empty() ? "" : " ") + word;
    const nlohmann::json result{{"command", command},
                                {"ok", exitCode == ExitOk},
                                {"exitCode", exitCode},
                                {"messages", Lines(capturedErr.str())},
                                {"output", Lines(capturedOut.str())},
                                {"keyboardWritten", changed}};
    out << result.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    return exitCode;
}

}  // namespace trevolin::cli
