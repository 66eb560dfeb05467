#include "FakeHidBackend.h"

#include "FakeDeviceSet.h"

namespace ql::hid::test {

FakeHidBackend::FakeHidBackend(std::shared_ptr<FakeDeviceSet> devices) : devices_(std::move(devices))
{
}

std::optional<std::vector<DeviceEntry>> FakeHidBackend::enumerate()
{
    return devices_->enumerate();
}

OpenResult FakeHidBackend::open(const std::string& path)
{
    return devices_->open(path);
}

std::vector<uint8_t> FakeHidBackend::reportDescriptor(const std::string& path)
{
    return devices_->descriptor(path);
}

int FakeHidBackend::hotplugFd()
{
    return devices_->hotplugFd();
}

std::vector<HotplugEvent> FakeHidBackend::readHotplug()
{
    return devices_->readHotplug();
}

int FakeHidBackend::poll(pollfd* fds, nfds_t count, int timeoutMs)
{
    return devices_->poll(fds, count, timeoutMs);
}

}  // namespace ql::hid::test
