#include "core/platform/KeyboardLock.h"

#include "core/base/AtomicFile.h"
#include "core/base/PrivateFolder.h"
#include "core/platform/RuntimeFolder.h"

#include <cerrno>
#include <charconv>
#include <fstream>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trevolin::platform {

namespace {

constexpr uint32_t PollMs = 50;
constexpr size_t MaxHolderText = 200;

std::string ParentOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string ReadHolder(int fd)
{
    char buffer[MaxHolderText + 1] = {};
    const ssize_t n = ::pread(fd, buffer, MaxHolderText, 0);
    if (n <= 0)
        return {};
    std::string text;
    for (ssize_t i = 0; i < n && buffer[i] != '\n'; ++i) {
        const unsigned char c = static_cast<unsigned char>(buffer[i]);
        // What another process wrote is shown to the user: printable only.
        if (c >= 0x20 && c != 0x7F)
            text.push_back(static_cast<char>(c));
    }
    return text;
}

void WriteHolder(int fd, const std::string& program)
{
    const std::string text = program + " (process " + std::to_string(::getpid()) + ")\n";
    if (::ftruncate(fd, 0) == 0)
        (void)!::pwrite(fd, text.data(), text.size(), 0);
}

}  // namespace

std::optional<std::string> KeyboardLock::DefaultPath(const base::Environment& env)
{
    return platform::RuntimeFolder::PathFor(env.AbsolutePath("XDG_RUNTIME_DIR")) + "/keyboard.lock";
}

KeyboardLock::Outcome KeyboardLock::Acquire(const std::string& path, const std::string& program, uint32_t waitMs,
                                            platform::Clock& clock)
{
    Outcome outcome;
    // A lock in a folder someone else controls could be held against us.
    if (!base::MakePrivateFolder(ParentOf(path), outcome.detail))
        return outcome;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        outcome.detail = "cannot open " + path + ": " + std::strerror(errno);
        return outcome;
    }
    const uint64_t start = clock.NowMs();
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            WriteHolder(fd, program);
            outcome.result = Result::Acquired;
            outcome.lock.reset(new KeyboardLock(fd, ParentOf(path) + "/keyboard.changes"));
            return outcome;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            outcome.detail = "cannot lock " + path + ": " + std::strerror(errno);
            ::close(fd);
            return outcome;
        }
        if (clock.NowMs() - start >= waitMs) {
            outcome.result = Result::Busy;
            outcome.holder = ReadHolder(fd);
            ::close(fd);
            return outcome;
        }
        clock.SleepMs(PollMs);
    }
}

uint64_t KeyboardLock::ChangeCount() const
{
    std::ifstream in(countPath_);
    char text[32] = {};
    in.read(text, sizeof text - 1);
    uint64_t count = 0;
    const auto [end, error] = std::from_chars(text, text + in.gcount(), count);
    return error == std::errc() && (end == text + in.gcount() || *end == '\n') ? count : 0;
}

void KeyboardLock::CountChange()
{
    // Written whole or not at all: a count cut in half would read as one
    // that did not change.
    static_cast<void>(base::AtomicFile::Write(countPath_, std::to_string(ChangeCount() + 1) + "\n"));
}

KeyboardLock::~KeyboardLock()
{
    // Nobody holds it any more: a stale name must not be shown to a waiter
    // that takes the lock while another process waits too.
    (void)!::ftruncate(fd_, 0);
    ::close(fd_);
}

}  // namespace trevolin::platform
