#include "EventFd.h"

#include <cerrno>
#include <cstdint>

#include <sys/eventfd.h>
#include <unistd.h>

namespace ql::hid {

EventFd::EventFd() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

EventFd::~EventFd()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void EventFd::signal()
{
    const uint64_t one = 1;
    // Fails only when the counter is full, and then the descriptor is readable anyway.
    while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void EventFd::clear()
{
    uint64_t count = 0;
    while (::read(fd_, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

}  // namespace ql::hid
