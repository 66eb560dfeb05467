#pragma once

#include "core/profiles/UserFolder.h"

#include <string>

namespace trevolin::profiles {

// A backup without the keyboard: the profile file in the user folder (what
// the program last read from the keyboard or applied to it, names included)
// written to `path` as an exchange file. False when the profile file is
// missing or unreadable, or `path` cannot be written; the user folder is
// never created or changed.
[[nodiscard]] bool BackupProfileFile(const UserFolder& folder, const std::string& path);

// Whether the user folder holds a profile file a backup can start from.
bool HasProfileFile(const UserFolder& folder);

}  // namespace trevolin::profiles
