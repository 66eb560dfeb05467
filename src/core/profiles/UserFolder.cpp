#include "core/profiles/UserFolder.h"

#include "core/base/Locations.h"

#include <filesystem>

namespace trevolin::profiles {

UserFolder UserFolderOf(const base::Locations& locations)
{
    return {locations.UserFolder(), locations.LightingTemplateFile()};
}

namespace fs = std::filesystem;

bool EnsureUserFolder(const UserFolder& folder)
{
    return base::Locations::EnsureUserFolder(folder.path, folder.colorTemplate);
}

std::string ProfileFilePath(const UserFolder& folder, int /*index*/)
{
    // A folder that cannot be made shows in the read or write of the file.
    static_cast<void>(EnsureUserFolder(folder));
    return (fs::path(folder.path) / ProfileFileName).string();
}

}  // namespace trevolin::profiles
