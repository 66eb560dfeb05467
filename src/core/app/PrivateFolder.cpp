#include "core/app/PrivateFolder.h"

#include <cerrno>
#include <filesystem>

#include <sys/stat.h>

namespace trevolin::app {

bool CreatePrivateFolders(const std::string& path)
{
    if (path.empty())
        return false;
    std::filesystem::path built;
    for (const auto& part : std::filesystem::path(path)) {
        built /= part;
        if (::mkdir(built.c_str(), 0700) == 0) {
            // mkdir honours the umask, which may take more away but never
            // gives more; chmod makes it exactly 0700.
            ::chmod(built.c_str(), 0700);
        } else if (errno != EEXIST) {
            return false;
        }
    }
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

}  // namespace trevolin::app
