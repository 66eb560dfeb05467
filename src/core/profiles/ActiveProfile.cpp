#include "core/profiles/ActiveProfile.h"

#include "core/device/ReportExchange.h"
#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileLayout.h"

#include <filesystem>
#include <system_error>

namespace trevolin::profiles {

int GetActiveProfile(device::DeviceSession& session)
{
    const int cached = session.ActiveProfileCache();
    if (cached != NoProfile)
        return cached;
    device::InfoBlock info;
    if (session.Commands().ReadInfo(info.bytes.data()) != device::ResultOk)
        return NoProfile;
    const int profile = info.ActiveProfile();
    session.SetActiveProfileCache(profile);
    return profile;
}

bool SetActiveProfile(device::DeviceSession& session, int index)
{
    // Byte 10 is written back to the keyboard as it stands: only a real
    // profile number may go there.
    if (index < 0 || index >= ProfileCount())
        return false;
    device::InfoBlock info;
    if (session.Commands().ReadInfo(info.bytes.data()) != device::ResultOk)
        return false;
    info.SetActiveProfile(static_cast<uint8_t>(index));
    const bool written = session.Commands().WriteInfo(info.bytes.data()) == device::ResultOk;
    session.SetActiveProfileCache(written ? index : NoProfile);
    return written;
}

bool SaveActiveProfile(ProfileStore& store, const UserFolder& folder, device::DeviceSession& session, bool takeLock)
{
    const std::string path = ProfileFilePath(folder, GetActiveProfile(session));
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return false;
    return WriteImageFile(store, takeLock, path);
}

}  // namespace trevolin::profiles
