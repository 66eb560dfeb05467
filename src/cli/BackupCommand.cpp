#include "cli/BackupCommand.h"

#include "cli/ProfileWorkspace.h"

#include <CLI/CLI.hpp>

namespace trevolin::cli {

CLI::App* BackupCommand::Register(CLI::App& parent)
{
    auto* sub = parent.add_subcommand("backup", "Every profile, its keys, macros and texts, as an exchange file");
    sub->add_option("file", file_, "The file to write (*.tvl)")->required();
    return sub;
}

int BackupCommand::Execute(CliContext& context)
{
    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode);
    if (!workspace)
        return exitCode;
    if (workspace->Profiles().Backup(file_))
        return ExitOk;
    context.err << "trevolinctl: cannot write " << file_ << ".\n";
    return ExitFileError;
}

}  // namespace trevolin::cli
