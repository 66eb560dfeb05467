#include "core/profiles/UserFolder.h"

#include "core/app/Locations.h"

#include <filesystem>

namespace trevolin::profiles {

UserFolder UserFolderOf(const app::Locations& locations)
{
    return {locations.UserFolder(), locations.LightingTemplateFile()};
}

namespace fs = std::filesystem;

bool EnsureUserFolder(const UserFolder& folder)
{
    return app::Locations::EnsureUserFolder(folder.path, folder.colorTemplate);
}

std::string ProfileFilePath(const UserFolder& folder, int /*index*/)
{
    // A folder that cannot be made shows in the read or write of the file.
    static_cast<void>(EnsureUserFolder(folder));
    return (fs::path(folder.path) / ProfileFileName).string();
}

}  // namespace trevolin::profiles
