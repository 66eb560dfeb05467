#pragma once

#include <optional>
#include <string>

namespace trevolin::platform {

// The user's private folder for the program's locks, its instance socket
// and the like: "trevolin" in the session's runtime folder, or, where the
// session gives none, "/tmp/trevolin-UID". Anyone can create a name in /tmp,
// so a folder found there is used only when it is really ours.
class RuntimeFolder {
public:
    // `xdgRuntimeDir` is $XDG_RUNTIME_DIR when it is an absolute path.
    static std::string PathFor(const std::optional<std::string>& xdgRuntimeDir);

    // Creates `folder` with mode 0700 when missing. Refuses, with the reason
    // in `detail`, anything that is not a folder (a symbolic link included),
    // a folder of another user, and one that lets the group or others in:
    // whoever can write there could put a socket of their own in place of
    // ours, or hold our locks.
    [[nodiscard]] static bool MakePrivate(const std::string& folder, std::string& detail);
};

}  // namespace trevolin::platform
