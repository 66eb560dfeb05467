#include "HidrawConnection.h"

#include "Log.h"

#include <cerrno>
#include <cstring>

#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace ql::hid {

HidrawConnection::HidrawConnection(int fd, std::string path) : fd_(fd), path_(std::move(path))
{
}

HidrawConnection::~HidrawConnection()
{
    ::close(fd_);
}

int HidrawConnection::failure(const char* what, int error) const
{
    // hidraw answers EIO to reads and ENODEV to everything else once the device is gone.
    if (error == ENODEV || error == EIO)
        return kGone;
    Log::write(Log::kInfo, "%s on %s failed: %s", what, path_.c_str(), std::strerror(error));
    return kFailed;
}

int HidrawConnection::read(uint8_t* buffer, size_t capacity)
{
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, capacity);
        if (got >= 0)
            return static_cast<int>(got);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return kWouldBlock;
        return failure("read", errno);
    }
}

int HidrawConnection::write(const uint8_t* data, size_t length)
{
    for (;;) {
        const ssize_t sent = ::write(fd_, data, length);
        if (sent >= 0)
            return static_cast<int>(sent);
        if (errno != EINTR)
            return failure("write", errno);
    }
}

int HidrawConnection::sendFeature(const uint8_t* data, size_t length)
{
    for (;;) {
        // The ioctl takes a non-const buffer but only reads it.
        const int sent = ::ioctl(fd_, HIDIOCSFEATURE(length), const_cast<uint8_t*>(data));
        if (sent >= 0)
            return sent;
        if (errno != EINTR)
            return failure("HIDIOCSFEATURE", errno);
    }
}

int HidrawConnection::getFeature(uint8_t* buffer, size_t length)
{
    for (;;) {
        const int got = ::ioctl(fd_, HIDIOCGFEATURE(length), buffer);
        if (got >= 0)
            return got;
        if (errno != EINTR)
            return failure("HIDIOCGFEATURE", errno);
    }
}

}  // namespace ql::hid
