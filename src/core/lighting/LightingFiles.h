#pragma once

#include "core/base/Locations.h"
#include "core/lighting/ModeFile.h"

#include <cstddef>
#include <string>

namespace trevolin::lighting {

// Where the lighting keeps its files: one mode file per profile in the user
// folder, the factory template among the skins, and the user settings file
// "wskb.ini", which holds only whether the lighting view is on.
class LightingFiles {
public:
    static constexpr int TemplateNumber = 3;
    // A template larger than this is not a mode file; it is not copied.
    static constexpr size_t MaxTemplateSize = base::Locations::MaxLightingTemplateSize;

    // `userPrefix` and `templatePrefix` end in "UserDengColor_".
    LightingFiles(std::string userPrefix, std::string templatePrefix, std::string settingsFile);
    static LightingFiles FromLocations(const base::Locations& locations);

    // "<prefix><p>.userd"; empty for a profile outside 0 to 2.
    std::string ModeFilePath(int profile) const;
    std::string TemplatePath() const;
    ModeFile ModeFileOf(int profile) const { return ModeFile(ModeFilePath(profile)); }
    const std::string& SettingsFile() const { return settingsFile_; }

    // "KEYCOLOR"/"DengCheck": on only when it is 1.
    bool ReadLightingView() const;
    [[nodiscard]] bool WriteLightingView(bool on);

    // Makes profile `profile`'s mode file a byte-for-byte copy of the
    // template, replacing it at once. A template that is missing or cannot
    // be read leaves the file empty, so every value reads as its default.
    [[nodiscard]] bool ResetModeFile(int profile);

private:
    std::string userPrefix_;
    std::string templatePrefix_;
    std::string settingsFile_;
};

}  // namespace trevolin::lighting
