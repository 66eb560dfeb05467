#pragma once

#include "core/device/DeviceSession.h"
#include "core/profiles/ProfileStore.h"
#include "core/profiles/UserFolder.h"

namespace trevolin::profiles {

// The profile the keyboard uses is byte 10 of its information block. The
// session caches the last value read or written; -1 there means the next
// query asks the keyboard.

// The cached profile, else the keyboard's (then cached); -1 when the
// information block cannot be read.
int GetActiveProfile(device::DeviceSession& session);

// Makes `index` the keyboard's active profile; true only when the keyboard
// took it. Nothing is sent for an index that is no profile (below 0 or from
// ProfileCount() on). When the block cannot be read nothing more happens;
// after the write the cache holds the index, or -1 when the write failed.
[[nodiscard]] bool SetActiveProfile(device::DeviceSession& session, int index);

// Writes the store to the profile file of the active profile, but only when
// that file exists: a missing one is not created and the result is false.
// With `takeLock` the store lock is taken here, otherwise the caller holds it.
[[nodiscard]] bool SaveActiveProfile(ProfileStore& store, const UserFolder& folder, device::DeviceSession& session,
                                     bool takeLock);

}  // namespace trevolin::profiles
