#include "cli/ExportCommand.h"

#include "cli/ProfileWorkspace.h"
#include "core/device/ResultDescription.h"
#include "core/profiles/ExchangeFileName.h"

#include <CLI/CLI.hpp>

namespace trevolin::cli {

CLI::App* ExportCommand::Register(CLI::App& parent)
{
    auto* sub = parent.add_subcommand(
        "export", "The keyboard's three key tables and its macros, read from it now, as an exchange file; macro names "
                  "as the keyboard keeps them, or from the profile file when it keeps none");
    sub->add_option("file", file_, "The file to write; .tvl is added to a name without an extension")->required();
    return sub;
}

int ExportCommand::Execute(CliContext& context)
{
    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode);
    if (!workspace)
        return exitCode;
    const std::string file = profiles::WithExchangeFileExtension(file_);
    profiles::KeyboardReadReport report;
    if (workspace->Call([&] { return workspace->Profiles().ExportKeyboardToFile(file, &report); })) {
        Confirm(context, "Exported the keyboard's key tables and macros to " + file + ".");
        return ExitOk;
    }
    context.err << "trevolinctl: cannot export to " << file << ": "
                << (report.problem.empty() ? device::DescribeResult(report.deviceResult, context.texts)
                                           : report.problem)
                << ".\n";
    // The keyboard answered everything, so the file was the problem.
    return report.deviceResult == 1 ? ExitFileError : ExitKeyboardError;
}

}  // namespace trevolin::cli
