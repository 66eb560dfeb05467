#include "core/base/PrivateFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace trevolin::base {

namespace {

// mkdir honours the umask, which may take more away but never gives more;
// chmod makes a new folder exactly 0700. False only when it could not be
// created and is not there either.
bool CreateOne(const char* path)
{
    if (::mkdir(path, 0700) == 0) {
        ::chmod(path, 0700);
        return true;
    }
    return errno == EEXIST;
}

}  // namespace

bool CreatePrivateFolders(const std::string& path)
{
    if (path.empty())
        return false;
    std::filesystem::path built;
    for (const auto& part : std::filesystem::path(path)) {
        built /= part;
        if (!CreateOne(built.c_str()))
            return false;
    }
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool MakePrivateFolder(const std::string& folder, std::string& detail)
{
    if (!CreateOne(folder.c_str())) {
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

}  // namespace trevolin::base
