#include "FakeHidBackend.h"

#include "FakeDeviceSet.h"

namespace ql::hid::test {

FakeHidBackend::FakeHidBackend(std::shared_ptr<FakeDeviceSet> devices)
    : devices_(std::move(devices))
{
}

std::vector<DeviceEntry> FakeHidBackend::enumerate(uint16_t vendorId, uint16_t productId)
{
    return devices_->enumerate(vendorId, productId);
}

OpenResult FakeHidBackend::open(const std::string& path)
{
    return devices_->open(path);
}

std::vector<uint8_t> FakeHidBackend::reportDescriptor(const std::string& path)
{
    return devices_->descriptor(path);
}

}  // namespace ql::hid::test
