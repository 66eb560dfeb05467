#include "cli/ProfileWorkspace.h"

#include "cli/ProfileNumber.h"

#include "core/device/ResultDescription.h"
#include "core/macros/MacroText.h"

#include <fmt/format.h>

namespace trevolin::cli {

std::unique_ptr<ProfileWorkspace> ProfileWorkspace::Open(CliContext& context, int& exitCode, bool needKeyboardTables)
{
    std::unique_ptr<ProfileWorkspace> w(new ProfileWorkspace(context));
    w->connection_ =
        KeyboardConnection::Open(context.connection, context.locations, context.texts, context.err, exitCode);
    if (!w->connection_)
        return nullptr;
    profiles::LoadReport load;
    w->activeProfile_ = w->Call([&] { return w->Profiles().OnProfileSync(&load); });
    const bool unreadable = load.source != profiles::LoadReport::Source::Keyboard || w->activeProfile_ < 0;
    if (unreadable && !needKeyboardTables) {
        context.err << "trevolinctl: note: the keyboard's key tables could not be read ("
                    << (load.read.problem.empty() ? device::DescribeResult(load.read.deviceResult, context.texts)
                                                  : load.read.problem)
                    << "); they are replaced all the same.\n";
        exitCode = ExitOk;
        return w;
    }
    if (unreadable) {
        // Working on the default image instead would overwrite the
        // keyboard's assignments with nothing.
        context.err << "trevolinctl: cannot read the keyboard's key tables: "
                    << (load.read.problem.empty() ? device::DescribeResult(load.read.deviceResult, context.texts)
                                                  : load.read.problem)
                    << ".\n";
        exitCode = ExitKeyboardError;
        return nullptr;
    }
    if (load.read.macroAreaDamaged)
        context.err << fmt::format("trevolinctl: warning: the keyboard's macro area is damaged; what it holds "
                                   "before the damage was read ({}). The next change to keys or macros (or a "
                                   "restore) writes the whole area again.\n",
                                   macros::CountedNoun(load.read.macroCount, "macro", "macros"));
    exitCode = ExitOk;
    return w;
}

int ProfileWorkspace::ReportWriteFailure(const profiles::KeyboardWriteReport& write)
{
    if (write.stop == profiles::KeyboardWriteReport::Stop::MacrosTooLong) {
        context_.err << fmt::format("trevolinctl: the macros need {} bytes but the keyboard holds {}: {} bytes too "
                                    "many. Nothing was written; shorten or delete macros.\n",
                                    write.bareSize, write.capacity, write.excessBytes);
        return ExitMacrosTooLong;
    }
    context_.err << "trevolinctl: writing the keyboard failed: "
                 << (write.problem.empty() ? device::DescribeResult(write.deviceResult, context_.texts) : write.problem)
                 << ".\n";
    if (const auto parts = profiles::DescribeWrittenParts(write); !parts.empty())
        context_.err << "trevolinctl: " << parts << "\n";
    return ExitKeyboardError;
}

int ProfileWorkspace::Apply(profiles::WriteScope scope)
{
    profiles::ApplyReport report;
    // The command's change is the user's consent to replace a damaged macro
    // area; the load has already said it was damaged.
    if (Call([&] { return Profiles().Apply(scope, &report, true); }))
        return ExitOk;
    if (!report.write.ok)
        return ReportWriteFailure(report.write);
    context_.err << "trevolinctl: the keyboard was written, but the profile file in " << Profiles().Folder().path
                 << " could not be saved.\n";
    return ExitFileError;
}

int ProfileOrActive(int requestedNumber, int active)
{
    return requestedNumber >= FirstProfileNumber ? ProfileIndexOf(requestedNumber) : active;
}

}  // namespace trevolin::cli
