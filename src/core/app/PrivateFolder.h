#pragma once

#include <string>

namespace trevolin::app {

// Creates `path` and any missing parents with mode 0700, whatever the umask:
// the user folder and the settings folder hold macros (typed text, passwords
// included) and belong to the user alone. Folders that already exist keep
// the mode the user gave them. True when `path` is a folder afterwards.
[[nodiscard]] bool CreatePrivateFolders(const std::string& path);

}  // namespace trevolin::app
