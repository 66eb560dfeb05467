#include "core/base/AtomicFile.h"

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trevolin::base {

namespace {

// Macros may hold typed text, passwords included: what the program writes
// is for the user alone unless the user has chosen otherwise.
constexpr mode_t NewFileMode = 0600;

std::string ResolveLinks(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return path;
    }
    // A dangling link is written through as well: weakly_canonical resolves
    // what exists and keeps the rest of the name.
    const auto target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

bool WriteAll(int fd, std::string_view content)
{
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t written = ::write(fd, content.data() + done, content.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The content in a new temporary file beside `target`, flushed, with
// `mode`; its name, or nothing when it could not be written in full.
std::optional<std::string> WriteTemporary(const std::string& folder, const std::filesystem::path& target,
                                          std::string_view content, mode_t mode)
{
    std::string pattern = folder + "/." + target.filename().string() + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string temporary(name.data());
    const bool written = WriteAll(fd, content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temporary.c_str());
        return std::nullopt;
    }
    return temporary;
}

std::string FolderOf(const std::filesystem::path& target)
{
    std::string folder = target.parent_path().string();
    return folder.empty() ? std::string(".") : folder;
}

}  // namespace

bool AtomicFile::Write(const std::string& path, std::string_view content)
{
    if (path.empty()) {
        return false;
    }
    const std::string target = ResolveLinks(path);
    const std::filesystem::path targetPath(target);
    const std::string folder = FolderOf(targetPath);

    mode_t mode = NewFileMode;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) {
            return false;
        }
        mode = existing.st_mode & 07777;
    }

    const auto temporary = WriteTemporary(folder, targetPath, content, mode);
    if (!temporary) {
        return false;
    }
    if (::rename(temporary->c_str(), target.c_str()) != 0) {
        ::unlink(temporary->c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool AtomicFile::Create(const std::string& path, std::string_view content)
{
    if (path.empty()) {
        return false;
    }
    const std::filesystem::path targetPath(path);
    const std::string folder = FolderOf(targetPath);
    const auto temporary = WriteTemporary(folder, targetPath, content, NewFileMode);
    if (!temporary) {
        return false;
    }
    // A hard link is made only where no file is, so a file another process
    // created meanwhile is never replaced.
    const bool linked = ::link(temporary->c_str(), path.c_str()) == 0;
    ::unlink(temporary->c_str());
    if (linked) {
        SyncFolder(folder);
    }
    return linked;
}

}  // namespace trevolin::base
