#include "cli/BackupCommand.h"

#include "cli/ProfileWorkspace.h"
#include "core/profiles/ExchangeFileName.h"
#include "core/profiles/KeyboardWriteReport.h"
#include "core/profiles/ProfileFileBackup.h"

#include <CLI/CLI.hpp>

#include <sstream>

namespace trevolin::cli {

CLI::App* BackupCommand::Register(CLI::App& parent)
{
    auto* sub = parent.add_subcommand(
        "backup", "Every profile as the profile file holds it (keys and macros), first brought up to date from the "
                  "keyboard, as an exchange file; works without the keyboard once a command has read it");
    sub->add_option("file", file_, "The file to write; .tvl is added to a name without an extension")->required();
    return sub;
}

int BackupCommand::Execute(CliContext& context)
{
    // With the keyboard attached the profile file is first brought up to
    // date from it; without, the profile file as last read is what the
    // program holds. What the attempt to reach the keyboard said is only
    // worth showing when there is nothing to fall back on.
    const std::string file = profiles::WithExchangeFileExtension(file_);
    std::ostringstream connectionErrors;
    CliContext quiet{context.connection, context.out,   connectionErrors,
                     context.locations,  context.texts, context.quiet};
    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(quiet, exitCode);
    if (workspace) {
        if (workspace->Profiles().MissingKeyAssignments()) {
            context.err << connectionErrors.str() << "trevolinctl: " << profiles::BackupLacksKeysProblem << ".\n";
            return ExitKeyboardError;
        }
        const bool written = workspace->Call([&] { return workspace->Profiles().Backup(file); });
        context.err << connectionErrors.str();
        if (written) {
            Confirm(context, "Backed up every profile to " + file + ".");
            return ExitOk;
        }
        context.err << "trevolinctl: cannot write " << file << ".\n";
        return ExitFileError;
    }
    const auto folder = profiles::UserFolderOf(context.locations);
    if (exitCode != ExitNoKeyboard || !profiles::HasProfileFile(folder)) {
        context.err << connectionErrors.str();
        return exitCode;
    }
    if (!profiles::BackupProfileFile(folder, file)) {
        context.err << "trevolinctl: the keyboard is not attached, and the profile file in " << folder.path
                    << " could not be backed up to " << file << ".\n";
        return ExitFileError;
    }
    context.err << "trevolinctl: the keyboard is not attached: the backup holds the profiles as last read from it "
                   "(the profile file in "
                << folder.path << ").\n";
    Confirm(context, "Backed up every profile to " + file + ".");
    return ExitOk;
}

}  // namespace trevolin::cli
