#include "cli/LightSession.h"

#include "cli/ExitCode.h"
#include "core/device/InfoBlock.h"
#include "core/device/ResultDescription.h"
#include "core/lighting/EffectCatalogue.h"
#include "core/lighting/LightingRecord.h"
#include "core/lighting/LightingResults.h"

#include <string>

namespace trevolin::cli {

LightSession::LightSession(std::unique_ptr<KeyboardConnection> connection, lighting::LightingFiles files,
                           int profile)
    : connection_(std::move(connection)), files_(std::move(files)), profile_(profile)
{
    controller_ = std::make_unique<lighting::LightingController>(connection_->Commands(), files_, tints_);
}

std::unique_ptr<LightSession> LightSession::Open(CliContext& context, int& exitCode)
{
    auto connection = KeyboardConnection::Open(context.connection, context.err, exitCode);
    if (!connection)
        return nullptr;

    // The arrival has just read the information block; ask again only if
    // that read failed.
    auto info = connection->Session().ArrivalInfo();
    if (!info) {
        device::InfoBlock read;
        const int result = connection->Commands().ReadInfo(read.bytes.data());
        if (result != device::ResultOk) {
            context.err << "trevolinctl: cannot read the keyboard's information: "
                        << device::DescribeResult(result, context.texts) << ".\n";
            exitCode = ExitKeyboardError;
            return nullptr;
        }
        info = read;
    }
    const int profile = info->ActiveProfile();
    if (profile >= lighting::LightingRecord::ProfileCount) {
        context.err << "trevolinctl: the keyboard names profile " << profile
                    << " as its active one, but it only has profiles 0 to 2.\n";
        exitCode = ExitKeyboardError;
        return nullptr;
    }
    connection->Commands().SetCurrentProfile(profile);

    std::unique_ptr<LightSession> session(
        new LightSession(std::move(connection), lighting::LightingFiles::FromLocations(context.locations), profile));
    const int result = session->controller_->OnConnected();
    if (result != device::ResultOk) {
        // Every later decision rests on what was read: change nothing.
        // The read-back's own failure and the library's refusal share -1.
        const std::string why = result == lighting::ResultReadBackFailed
                                    ? "its information block or a lighting record could not be read"
                                    : device::DescribeResult(result, context.texts);
        context.err << "trevolinctl: cannot read the keyboard's lighting: " << why << ".\n";
        exitCode = ExitKeyboardError;
        return nullptr;
    }
    exitCode = ExitOk;
    return session;
}

bool LightSession::PerKeyOffered() const
{
    return controller_->Effects().Contains(lighting::PerKeyEffect);
}

int LightSession::Report(const CliContext& context, int result, std::string_view what)
{
    if (result == device::ResultOk)
        return ExitOk;
    context.err << "trevolinctl: cannot " << what << ": " << device::DescribeResult(result, context.texts) << ".\n";
    return ExitKeyboardError;
}

}  // namespace trevolin::cli
