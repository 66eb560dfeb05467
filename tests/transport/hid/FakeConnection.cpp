#include "FakeConnection.h"

#include "FakeDeviceSet.h"

namespace ql::hid::test {

FakeConnection::FakeConnection(std::shared_ptr<FakeDeviceSet> devices, int handle)
    : devices_(std::move(devices))
    , handle_(handle)
{
}

FakeConnection::~FakeConnection()
{
    devices_->close(handle_);
}

int FakeConnection::write(const uint8_t* data, size_t length)
{
    return devices_->send(handle_, ReportType::Output, data, length);
}

int FakeConnection::read(uint8_t* buffer, size_t capacity, int timeoutMs)
{
    return devices_->read(handle_, buffer, capacity, timeoutMs);
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
