#include "cli/LightSession.h"

#include "cli/ExitCode.h"
#include "cli/ProfileNumber.h"
#include "core/device/InfoBlock.h"
#include "core/device/ResultDescription.h"
#include "core/lighting/EffectCatalogue.h"
#include "core/lighting/EffectNames.h"
#include "core/lighting/LightingRecord.h"
#include "core/lighting/LightingResults.h"

#include <string>

namespace trevolin::cli {

LightSession::LightSession(std::unique_ptr<KeyboardConnection> connection, int profile, bool profileActive)
    : connection_(std::move(connection)),
      profile_(profile),
      profileActive_(profileActive)
{
}

std::unique_ptr<LightSession> LightSession::Open(CliContext& context, int& exitCode, std::optional<int> profile)
{
    auto connection =
        KeyboardConnection::Open(context.connection, context.locations, context.texts, context.err, exitCode);
    if (!connection)
        return nullptr;

    // The arrival has just read the information block; ask again only if
    // that read failed.
    auto info = connection->Session().ArrivalInfo();
    if (!info) {
        device::InfoBlock read;
        const int result = connection->Call([&] { return connection->Commands().ReadInfo(read.bytes.data()); });
        if (result != device::ResultOk) {
            context.err << "trevolinctl: cannot read the keyboard's information: "
                        << device::DescribeResult(result, context.texts) << ".\n";
            exitCode = ExitKeyboardError;
            return nullptr;
        }
        info = read;
    }
    const int active = info->ActiveProfile();
    if (!profile && active >= lighting::LightingRecord::ProfileCount) {
        context.err << "trevolinctl: the keyboard names profile " << ProfileNumberOf(active)
                    << " as its active one, but it only has profiles 1 to 3.\n";
        exitCode = ExitKeyboardError;
        return nullptr;
    }
    if (profile && (*profile < 0 || *profile >= lighting::LightingRecord::ProfileCount)) {
        exitCode = ExitUsage;
        return nullptr;
    }
    const int chosen = profile.value_or(active);
    // The program's current profile, which the lighting writes address; the
    // keyboard's active profile stays as it is.
    connection->Commands().SetCurrentProfile(chosen);
    // The user modes are read from the mode files: a fresh user folder gets
    // them from the template first, as every command that creates it does.
    // A folder that cannot be made matters only to a change, which says so.
    static_cast<void>(context.locations.EnsureUserFolder());

    std::unique_ptr<LightSession> session(new LightSession(std::move(connection), chosen, chosen == active));
    const int result = session->Call([&] { return session->Controller().OnConnected(); });
    if (result != device::ResultOk) {
        // Every later decision rests on what was read: change nothing.
        const std::string why = device::DescribeResult(result, context.texts);
        context.err << "trevolinctl: cannot read the keyboard's lighting: " << why << ".\n";
        exitCode = ExitKeyboardError;
        return nullptr;
    }
    exitCode = ExitOk;
    return session;
}

bool LightSession::PerKeyOffered()
{
    return Controller().Effects().Contains(lighting::PerKeyEffect);
}

int LightSession::Report(const CliContext& context, int result, std::string_view what)
{
    if (result == device::ResultOk)
        return ExitOk;
    context.err << "trevolinctl: cannot " << what << ": " << device::DescribeResult(result, context.texts) << ".\n";
    return ExitKeyboardError;
}

int LightSession::ReportChange(const CliContext& context, int result, std::string_view what)
{
    const int code = Report(context, result, what);
    if (code == ExitOk)
        return code;
    const int read = Call([&] { return Controller().OnConnected(); });
    if (read != device::ResultOk) {
        context.err << "trevolinctl: part of the change may have been written, and the lighting could not be read "
                       "back: "
                    << device::DescribeResult(read, context.texts) << ".\n";
        return code;
    }
    const lighting::LightMode& mode = Controller().Mode();
    context.err << "trevolinctl: part of the change may have been written; read back, profile "
                << ProfileNumberOf(profile_) << " now has effect " << int(mode.mode) << " ("
                << lighting::EffectName(context.texts, mode.mode) << "), brightness " << int(mode.brightness)
                << ", speed " << int(lighting::LightMode::MaxSpeed - mode.speed) << ".\n";
    return code;
}

}  // namespace trevolin::cli
