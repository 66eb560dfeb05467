#include "core/platform/RuntimeFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace trevolin::platform {

std::string RuntimeFolder::PathFor(const std::optional<std::string>& xdgRuntimeDir)
{
    if (xdgRuntimeDir && !xdgRuntimeDir->empty() && xdgRuntimeDir->front() == '/')
        return *xdgRuntimeDir + "/trevolin";
    return "/tmp/trevolin-" + std::to_string(::getuid());
}

bool RuntimeFolder::MakePrivate(const std::string& folder, std::string& detail)
{
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        detail = "cannot create " + folder + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        detail = folder + " is not a folder";
        return false;
    }
    if (st.st_uid != ::getuid()) {
        detail = folder + " belongs to another user";
        return false;
    }
    if ((st.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        detail = folder + " can be used by other users (mode " + mode + "); it must be 0700";
        return false;
    }
    return true;
}

}  // namespace trevolin::platform
