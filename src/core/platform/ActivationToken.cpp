#include "core/platform/ActivationToken.h"

#include "core/base/AtomicFile.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace trevolin::platform {

namespace {

constexpr size_t MaxTokenSize = 1024;

std::string PathIn(const std::string& folder)
{
    return folder + "/" + std::string(ActivationTokenFile);
}

}  // namespace

bool IsActivationToken(std::string_view token)
{
    return !token.empty() && token.size() <= MaxTokenSize &&
           std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

bool HandOverActivationToken(const std::string& folder, std::string_view token)
{
    return IsActivationToken(token) && base::AtomicFile::Write(PathIn(folder), token);
}

std::optional<std::string> TakeActivationToken(const std::string& folder)
{
    const std::string path = PathIn(folder);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        // A link (or anything else that is not a file to read) is no
        // token either, and goes.
        if (errno != ENOENT)
            ::unlink(path.c_str());
        return std::nullopt;
    }
    // One byte more than a token may have, to see one that is too long.
    std::string content(MaxTokenSize + 1, '\0');
    size_t got = 0;
    while (got < content.size()) {
        const ssize_t n = ::read(fd, content.data() + got, content.size() - got);
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    // Used once, whatever it held.
    ::unlink(path.c_str());
    content.resize(got);
    if (!IsActivationToken(content))
        return std::nullopt;
    return content;
}

}  // namespace trevolin::platform
