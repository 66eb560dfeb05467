#pragma once

#include "core/base/Locations.h"

#include <string>

namespace trevolin::profiles {

// Where the user's profile file and lighting mode files live, and the
// template the lighting files start from.
struct UserFolder {
    std::string path;           // the "Dravik-RGB_01" folder in the user's data folder
    std::string colorTemplate;  // "Skins/UserDengColor_3.userd" beside the program
};

// The user folder of `locations`, with the lighting template beside the
// program.
UserFolder UserFolderOf(const base::Locations& locations);

// Creates a missing user folder (with its parents) and gives it each of the
// three lighting mode files "UserDengColor_0.userd" to "UserDengColor_2.userd"
// it lacks as a copy of the template (base::Locations::EnsureUserFolder);
// existing files are never touched. True when the folder exists afterwards;
// a template that cannot be copied does not change that.
[[nodiscard]] bool EnsureUserFolder(const UserFolder& folder);

inline constexpr const char* ProfileFileName = "$Profile0";

// The profile file. Every profile index gives the same file, "$Profile0":
// it holds the key tables of all three profiles. Runs EnsureUserFolder first.
std::string ProfileFilePath(const UserFolder& folder, int index);

}  // namespace trevolin::profiles
