#include "core/platform/NamedEvents.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>

namespace trevolin::platform {

namespace {

constexpr size_t MaxOwnerLength = 64;

bool ValidOwner(std::string_view owner)
{
    if (owner.empty() || owner.size() > MaxOwnerLength)
        return false;
    for (const char c : owner) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                             c == '_' || c == '-';
        if (!allowed)
            return false;
    }
    // "." and ".." would name a folder, not a semaphore.
    return owner != "." && owner != "..";
}

// Linux keeps a named semaphore as /dev/shm/sem.NAME. Ours belongs to this
// user and nobody else may open it.
bool IsOurs(const std::string& name)
{
    struct stat st {};
    const std::string path = "/dev/shm/sem." + name.substr(1);
    if (::stat(path.c_str(), &st) != 0)
        return true;  // kept elsewhere: the kernel's own checks apply
    return st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

}  // namespace

std::string NamedEvents::OwnerFor(std::string_view runtimeFolder)
{
    // FNV-1a: stable across runs and builds, which std::hash is not.
    uint32_t digest = 2166136261u;
    for (const char c : runtimeFolder) {
        digest ^= static_cast<unsigned char>(c);
        digest *= 16777619u;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%08x", digest);
    return std::to_string(::getuid()) + "-" + text;
}

std::string NamedEvents::NameOf(int number, std::string_view owner)
{
    char main[16];
    std::snprintf(main, sizeof main, "Main_%02d", number);
    return "/" + std::string(Prefix) + main + "." + std::string(owner);
}

NamedEvents::Outcome NamedEvents::Create(std::string_view owner, bool holdsInstanceLock)
{
    Outcome outcome;
    if (!ValidOwner(owner)) {
        outcome.detail =
            "the named events cannot carry the owner \"" + std::string(owner.substr(0, MaxOwnerLength)) + "\"";
        return outcome;
    }
    outcome.events.reset(new NamedEvents);
    size_t missing = 0;
    std::string firstProblem;
    for (int number = 1; number <= Count; ++number) {
        Event event;
        event.name = NameOf(number, owner);
        if (holdsInstanceLock && ::sem_unlink(event.name.c_str()) != 0 && errno != ENOENT) {
            // Left in place, the old one would be opened below and kept
            // after we end, which is harmless; say so all the same.
            if (firstProblem.empty())
                firstProblem = "cannot remove the old " + event.name + ": " + std::strerror(errno);
        }
        event.handle = ::sem_open(event.name.c_str(), O_CREAT | O_EXCL, 0600, 0);
        event.created = event.handle != SEM_FAILED;
        if (!event.created && errno == EEXIST) {
            if (!IsOurs(event.name)) {
                if (firstProblem.empty())
                    firstProblem = event.name + " belongs to another user or is open to others; it is not used";
                ++missing;
                continue;
            }
            event.handle = ::sem_open(event.name.c_str(), 0);
        }
        if (event.handle == SEM_FAILED) {
            if (firstProblem.empty())
                firstProblem = "cannot create " + event.name + ": " + std::strerror(errno);
            ++missing;
            continue;
        }
        outcome.events->events_.push_back(std::move(event));
    }
    if (missing > 0)
        outcome.detail =
            std::to_string(missing) + " of the " + std::to_string(Count) + " named events are missing; " + firstProblem;
    else
        outcome.detail = firstProblem;
    return outcome;
}

void NamedEvents::Release()
{
    for (const Event& event : events_) {
        ::sem_close(event.handle);
        if (event.created)
            ::sem_unlink(event.name.c_str());
    }
    events_.clear();
}

NamedEvents::~NamedEvents()
{
    Release();
}

}  // namespace trevolin::platform
