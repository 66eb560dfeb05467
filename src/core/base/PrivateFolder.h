#pragma once

#include <string>

namespace trevolin::base {

// Folders that belong to the user alone: the user folder and the settings
// folder hold macros (typed text, passwords included), the runtime folder
// holds the keyboard lock and the instance socket. A folder this program
// creates gets mode 0700, whatever the umask.

// Creates `path` and any missing parents. Folders that already exist keep
// the mode the user gave them. True when `path` is a folder afterwards.
[[nodiscard]] bool CreatePrivateFolders(const std::string& path);

// Creates `folder` when missing, then refuses, with the reason in `detail`,
// anything that is not a folder (a symbolic link included), a folder of
// another user, and one that lets the group or others in: whoever can write
// there could put a socket of their own in place of ours, or hold our locks.
[[nodiscard]] bool MakePrivateFolder(const std::string& folder, std::string& detail);

}  // namespace trevolin::base
