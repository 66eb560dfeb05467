#include "core/profiles/UserFolder.h"

#include "core/app/Locations.h"

#include <filesystem>

namespace trevolin::profiles {

namespace fs = std::filesystem;

bool EnsureUserFolder(const UserFolder& folder)
{
    return app::Locations::EnsureUserFolder(folder.path, folder.colorTemplate);
}

std::string ProfileFilePath(const UserFolder& folder, int /*index*/)
{
    EnsureUserFolder(folder);
    return (fs::path(folder.path) / ProfileFileName).string();
}

}  // namespace trevolin::profiles
