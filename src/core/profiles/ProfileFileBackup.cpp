#include "core/profiles/ProfileFileBackup.h"

#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileStore.h"

#include <filesystem>

namespace trevolin::profiles {

namespace {

// The same name ProfileFilePath gives, without its side effect of creating
// the user folder.
std::string ExistingProfileFile(const UserFolder& folder)
{
    return folder.path + "/" + ProfileFileName;
}

}  // namespace

bool HasProfileFile(const UserFolder& folder)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(ExistingProfileFile(folder), ec);
}

bool BackupProfileFile(const UserFolder& folder, const std::string& path)
{
    if (!HasProfileFile(folder))
        return false;
    ProfileStore store;
    return ReadImageFile(store, ExistingProfileFile(folder)) && WriteImageFile(store, true, path);
}

}  // namespace trevolin::profiles
