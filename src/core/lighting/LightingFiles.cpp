#include "core/lighting/LightingFiles.h"

#include "core/base/AtomicFile.h"
#include "core/base/IniFile.h"
#include "core/lighting/LightingRecord.h"

#include <utility>

namespace trevolin::lighting {

namespace {

constexpr std::string_view SettingsSection = "KEYCOLOR";
constexpr std::string_view LightingViewKey = "DengCheck";

std::string ModeFileName(const std::string& prefix, int number)
{
    return prefix + std::to_string(number) + ".userd";
}

}  // namespace

LightingFiles::LightingFiles(std::string userPrefix, std::string templatePrefix, std::string settingsFile)
    : userPrefix_(std::move(userPrefix)),
      templatePrefix_(std::move(templatePrefix)),
      settingsFile_(std::move(settingsFile))
{
}

LightingFiles LightingFiles::FromLocations(const base::Locations& locations)
{
    return LightingFiles(locations.UserLightingPrefix(), locations.FactoryLightingPrefix(),
                         locations.UserSettingsFile());
}

std::string LightingFiles::ModeFilePath(int profile) const
{
    if (profile < 0 || profile >= LightingRecord::ProfileCount)
        return {};
    return ModeFileName(userPrefix_, profile);
}

std::string LightingFiles::TemplatePath() const
{
    return ModeFileName(templatePrefix_, TemplateNumber);
}

bool LightingFiles::ReadLightingView() const
{
    return base::IniFile(settingsFile_).ReadInt(SettingsSection, LightingViewKey, 0) == 1;
}

bool LightingFiles::WriteLightingView(bool on)
{
    return base::IniFile(settingsFile_).Write(SettingsSection, LightingViewKey, on ? "1" : "0");
}

bool LightingFiles::ResetModeFile(int profile)
{
    const std::string path = ModeFilePath(profile);
    if (path.empty())
        return false;
    return base::AtomicFile::Write(path, base::Locations::ReadLightingTemplate(TemplatePath()).value_or(std::string()));
}

}  // namespace trevolin::lighting
