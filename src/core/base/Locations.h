#pragma once

#include "core/base/Environment.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace trevolin::base {

// Where the program finds its data and keeps the user's: everything beside
// the executable (language files, skins, help, firmware packages, the
// daemon) and the user folder in the XDG data home. Folders that others
// extend by appending a name end in '/'; the user folder does not, since its
// users append "/name" themselves.
class Locations {
public:
    static constexpr std::string_view UserFolderName = "Dravik-RGB_01";
    // Longer paths than the system can open are refused rather than cut.
    static constexpr size_t MaxPathLength = 4095;

    // From the executable's absolute path; the user folder from
    // $XDG_DATA_HOME, else $HOME/.local/share. nullopt when the executable
    // path is not absolute, no data home can be found or a path grows too long.
    static std::optional<Locations> Build(const std::string& executable, const Environment& env);

    // The running executable, from /proc/self/exe.
    static std::optional<std::string> ExecutablePath();
    static std::optional<Locations> ForThisProcess(const Environment& env);

    const std::string& OwnFileName() const { return ownFileName_; }
    const std::string& ExeDirectory() const { return exeDirectory_; }
    std::string HelpDirectory() const { return exeDirectory_ + "Help/"; }
    std::string SkinDirectory() const { return exeDirectory_ + "Skins/"; }
    std::string MainSkinFile() const { return SkinDirectory() + "Main.ini"; }
    std::string ProfileSkinFile() const { return SkinDirectory() + "Profile.ini"; }
    std::string UpdateSkinFile() const { return SkinDirectory() + "UpdateDlg.ini"; }
    std::string CompositeSkinFile() const { return SkinDirectory() + "Composite.ini"; }
    std::string FactoryLightingPrefix() const { return SkinDirectory() + "UserDengColor_"; }
    // The template every lighting mode file of the user folder starts from.
    std::string LightingTemplateFile() const { return FactoryLightingPrefix() + "3.userd"; }
    std::string PackageDirectory() const { return exeDirectory_ + "Package"; }
    std::string Daemon() const { return exeDirectory_ + "Varnok"; }

    const std::string& UserFolder() const { return userFolder_; }
    std::string UserSettingsFile() const { return userFolder_ + "/wskb.ini"; }
    std::string UserLightingPrefix() const { return userFolder_ + "/UserDengColor_"; }

    // "Lang%04X.ini" beside the executable.
    std::string LanguageFile(uint32_t languageId) const;

    // The same locations with the user's files kept in `folder` instead
    // (the command line's --user-folder); nullopt for a relative or too long path.
    std::optional<Locations> WithUserFolder(const std::string& folder) const;

    // One lighting mode file per profile.
    static constexpr int LightingModeFileCount = 3;
    // A template larger than this is not a mode file; it is not copied.
    static constexpr size_t MaxLightingTemplateSize = 4 * 1024 * 1024;

    // Creates the user folder and its parents when missing, and gives it
    // each lighting mode file "UserDengColor_0.userd" to "_2.userd" it lacks
    // as a copy of the template; files already there are never touched. A
    // folder left behind without some of them (an older version created it
    // empty) is completed the same way. True when the folder exists
    // afterwards; a template that cannot be read leaves the files missing,
    // so every value reads as its default.
    [[nodiscard]] bool EnsureUserFolder();
    // The same for any folder and template; every way of creating the user
    // folder, by the command line or the window, goes through here.
    [[nodiscard]] static bool EnsureUserFolder(const std::string& folder, const std::string& lightingTemplate);

    // The whole template, or nothing when it is missing, unreadable or larger
    // than MaxLightingTemplateSize.
    static std::optional<std::string> ReadLightingTemplate(const std::string& path);

private:
    std::string ownFileName_;
    std::string exeDirectory_;
    std::string userFolder_;
};

}  // namespace trevolin::base
