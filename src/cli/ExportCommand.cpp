#include "cli/ExportCommand.h"

#include "cli/ProfileWorkspace.h"
#include "core/device/ResultDescription.h"

#include <CLI/CLI.hpp>

namespace trevolin::cli {

CLI::App* ExportCommand::Register(CLI::App& parent)
{
    auto* sub = parent.add_subcommand("export", "The keyboard's three key tables and its macros as an exchange file");
    sub->add_option("file", file_, "The file to write (*.tvl)")->required();
    return sub;
}

int ExportCommand::Execute(CliContext& context)
{
    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode);
    if (!workspace)
        return exitCode;
    profiles::KeyboardReadReport report;
    if (workspace->Call([&] { return workspace->Profiles().ExportKeyboardToFile(file_, &report); }))
        return ExitOk;
    context.err << "trevolinctl: cannot export to " << file_ << ": "
                << (report.problem.empty() ? device::DescribeResult(report.deviceResult, context.texts)
                                           : report.problem)
                << ".\n";
    // The keyboard answered everything, so the file was the problem.
    return report.deviceResult == 1 ? ExitFileError : ExitKeyboardError;
}

}  // namespace trevolin::cli
