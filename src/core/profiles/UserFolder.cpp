#include "core/profiles/UserFolder.h"

#include <filesystem>
#include <system_error>

namespace trevolin::profiles {

namespace fs = std::filesystem;

bool EnsureUserFolder(const UserFolder& folder)
{
    std::error_code error;
    if (fs::exists(folder.path, error))
        return fs::is_directory(folder.path, error);
    if (!fs::create_directories(folder.path, error) && !fs::is_directory(folder.path, error))
        return false;
    for (int profile = 0; profile < 3; ++profile) {
        const fs::path target = fs::path(folder.path) / ("UserDengColor_" + std::to_string(profile) + ".userd");
        std::error_code ignored;
        fs::copy_file(folder.colorTemplate, target, fs::copy_options::skip_existing, ignored);
    }
    return true;
}

std::string ProfileFilePath(const UserFolder& folder, int /*index*/)
{
    EnsureUserFolder(folder);
    return (fs::path(folder.path) / ProfileFileName).string();
}

}  // namespace trevolin::profiles
