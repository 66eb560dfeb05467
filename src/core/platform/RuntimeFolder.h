#pragma once

#include <optional>
#include <string>

namespace trevolin::platform {

// The user's private folder for the program's locks, its instance socket
// and the like: "trevolin" in the session's runtime folder, or, where the
// session gives none, "/tmp/trevolin-UID". Anyone can create a name in /tmp,
// so a folder found there is used only when it is really ours
// (base::MakePrivateFolder).
class RuntimeFolder {
public:
    // `xdgRuntimeDir` is $XDG_RUNTIME_DIR when it is an absolute path.
    static std::string PathFor(const std::optional<std::string>& xdgRuntimeDir);
};

}  // namespace trevolin::platform
