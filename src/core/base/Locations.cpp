#include "core/base/Locations.h"

#include "core/base/AtomicFile.h"
#include "core/base/PrivateFolder.h"

#include <fmt/format.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace trevolin::base {

namespace {

constexpr std::string_view DeletedSuffix = " (deleted)";

// Room for the longest name any user appends to a location.
constexpr size_t NameReserve = 64;

std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::optional<std::string> DataHome(const Environment& env)
{
    if (auto xdg = env.AbsolutePath("XDG_DATA_HOME")) {
        return WithoutTrailingSlashes(*xdg);
    }
    if (auto home = env.AbsolutePath("HOME")) {
        std::string base = WithoutTrailingSlashes(*home);
        if (base == "/") {
            base.clear();
        }
        return base + "/.local/share";
    }
    return std::nullopt;
}

}  // namespace

std::optional<Locations> Locations::Build(const std::string& executable, const Environment& env)
{
    if (executable.empty() || executable.front() != '/' || executable.back() == '/') {
        return std::nullopt;
    }
    const auto slash = executable.rfind('/');
    Locations locations;
    locations.exeDirectory_ = executable.substr(0, slash + 1);
    locations.ownFileName_ = executable.substr(slash + 1);

    const auto dataHome = DataHome(env);
    if (!dataHome) {
        return std::nullopt;
    }
    locations.userFolder_ = (*dataHome == "/" ? std::string() : *dataHome) + "/" + std::string(UserFolderName);

    if (locations.exeDirectory_.size() + NameReserve > MaxPathLength ||
        locations.userFolder_.size() + NameReserve > MaxPathLength) {
        return std::nullopt;
    }
    return locations;
}

std::optional<std::string> Locations::ExecutablePath()
{
    std::error_code error;
    std::string path = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error || path.empty()) {
        return std::nullopt;
    }
    // An executable replaced while it runs (a package upgrade) is reported
    // with this suffix; its folder is still the right one.
    if (path.size() > DeletedSuffix.size() && path.ends_with(DeletedSuffix)) {
        path.resize(path.size() - DeletedSuffix.size());
    }
    return path;
}

std::optional<Locations> Locations::ForThisProcess(const Environment& env)
{
    const auto executable = ExecutablePath();
    if (!executable) {
        return std::nullopt;
    }
    return Build(*executable, env);
}

std::string Locations::LanguageFile(uint32_t languageId) const
{
    return exeDirectory_ + fmt::format("Lang{:04X}.ini", languageId);
}

bool Locations::EnsureUserFolder()
{
    return EnsureUserFolder(userFolder_, LightingTemplateFile());
}

bool Locations::EnsureUserFolder(const std::string& folder, const std::string& lightingTemplate)
{
    if (!CreatePrivateFolders(folder)) {
        return false;
    }
    std::error_code error;
    std::optional<std::string> content;
    for (int profile = 0; profile < LightingModeFileCount; ++profile) {
        const std::string path = folder + "/UserDengColor_" + std::to_string(profile) + ".userd";
        if (std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found) {
            continue;
        }
        if (!content) {
            content = ReadLightingTemplate(lightingTemplate);
            if (!content) {
                break;
            }
        }
        // Another process may create the file meanwhile; its file stays.
        static_cast<void>(AtomicFile::Create(path, *content));
    }
    return true;
}

std::optional<std::string> Locations::ReadLightingTemplate(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > MaxLightingTemplateSize) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad() || content.size() > MaxLightingTemplateSize) {
        return std::nullopt;
    }
    return content;
}

std::optional<Locations> Locations::WithUserFolder(const std::string& folder) const
{
    if (folder.empty() || folder.front() != '/' || folder.size() + NameReserve > MaxPathLength)
        return std::nullopt;
    Locations copy = *this;
    copy.userFolder_ = folder;
    while (copy.userFolder_.size() > 1 && copy.userFolder_.back() == '/')
        copy.userFolder_.pop_back();
    return copy;
}

}  // namespace trevolin::base
