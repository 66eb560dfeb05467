#include "FakeConnection.h"

#include "FakeDeviceSet.h"

#include <cerrno>

#include <sys/socket.h>
#include <unistd.h>

namespace ql::hid::test {

FakeConnection::FakeConnection(std::shared_ptr<FakeDeviceSet> devices, int handle, int fd)
    : devices_(std::move(devices)),
      handle_(handle),
      fd_(fd)
{
}

FakeConnection::~FakeConnection()
{
    ::close(fd_);
    devices_->close(handle_);
}

int FakeConnection::read(uint8_t* buffer, size_t capacity)
{
    for (;;) {
        const ssize_t got = ::recv(fd_, buffer, capacity, MSG_DONTWAIT);
        if (got > 0)
            return static_cast<int>(got);
        if (got == 0)
            return kGone;  // the device's end closed: what hidraw answers with EIO
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? kWouldBlock : kFailed;
    }
}

int FakeConnection::write(const uint8_t* data, size_t length)
{
    return devices_->send(handle_, ReportType::Output, data, length);
}

int FakeConnection::sendFeature(const uint8_t* data, size_t length)
{
    return devices_->send(handle_, ReportType::Feature, data, length);
}

int FakeConnection::getFeature(uint8_t* buffer, size_t length)
{
    return devices_->getFeature(handle_, buffer, length);
}

}  // namespace ql::hid::test
