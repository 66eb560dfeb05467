#include "cli/ProfileWorkspace.h"

#include "core/device/ResultDescription.h"

#include <fmt/format.h>

namespace trevolin::cli {

std::unique_ptr<ProfileWorkspace> ProfileWorkspace::Open(CliContext& context, int& exitCode)
{
    std::unique_ptr<ProfileWorkspace> w(new ProfileWorkspace(context));
    w->connection_ = KeyboardConnection::Open(context.connection, context.err, exitCode);
    if (!w->connection_)
        return nullptr;
    const profiles::UserFolder folder{context.locations.UserFolder(),
                                      context.locations.FactoryLightingPrefix() + "3.userd"};
    w->profiles_ = std::make_unique<profiles::KeyboardProfiles>(w->store_, w->connection_->Session(), folder,
                                                                context.texts, w->prompts_);
    profiles::LoadReport load;
    w->activeProfile_ = w->profiles_->OnProfileSync(&load);
    if (load.source != profiles::LoadReport::Source::Keyboard || w->activeProfile_ < 0) {
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
        context.err << "trevolinctl: warning: the keyboard's macro area is damaged; only the macros before the "
                       "damage were read.\n";
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
                 << (write.problem.empty() ? device::DescribeResult(write.deviceResult, context_.texts)
                                           : write.problem)
                 << ".\n";
    return ExitKeyboardError;
}

int ProfileWorkspace::Apply(profiles::WriteScope scope)
{
    profiles::ApplyReport report;
    if (profiles_->Apply(scope, &report))
        return ExitOk;
    if (!report.write.ok)
        return ReportWriteFailure(report.write);
    context_.err << "trevolinctl: the keyboard was written, but the profile file in "
                 << profiles_->Folder().path << " could not be saved.\n";
    return ExitFileError;
}

int ProfileOrActive(int requested, int active)
{
    return requested >= 0 ? requested : active;
}

}  // namespace trevolin::cli
