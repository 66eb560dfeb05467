#include "cli/RestoreCommand.h"

#include "cli/ProfileWorkspace.h"

#include <CLI/CLI.hpp>

#include <filesystem>

namespace trevolin::cli {

CLI::App* RestoreCommand::Register(CLI::App& parent)
{
    auto* sub = parent.add_subcommand("restore", "Check an exchange file, then write all three profiles and the "
                                                 "macros to the keyboard");
    sub->add_option("file", file_, "The exchange file (*.tvl)")->required();
    return sub;
}

int RestoreCommand::Execute(CliContext& context)
{
    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode, false);
    if (!workspace)
        return exitCode;
    profiles::RestoreReport report;
    const bool restored = workspace->Call([&] { return workspace->Profiles().Restore(file_, &report); });
    for (const auto& note : report.check.notes)
        context.err << "trevolinctl: note: " << note << ".\n";
    if (restored) {
        Confirm(context, "Restored every profile and the macros from " + file_ + " to the keyboard.");
        return ExitOk;
    }
    const auto& check = report.check;
    if (check.result <= 0) {
        std::error_code ec;
        if (check.formatError || (check.result == 0 && std::filesystem::is_regular_file(file_, ec))) {
            context.err << "trevolinctl: " << file_ << " is not a profile exchange file: " << check.reason << ".\n";
            return ExitNotExchangeFile;
        }
        context.err << "trevolinctl: cannot read " << file_ << ": " << check.reason << ".\n";
        return ExitFileError;
    }
    if (!report.write.ok)
        return workspace->ReportWriteFailure(report.write);
    context.err << "trevolinctl: " << (report.problem.empty() ? "the restore failed" : report.problem) << ".\n";
    return ExitKeyboardError;
}

}  // namespace trevolin::cli
