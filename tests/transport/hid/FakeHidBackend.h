#pragma once

#include "transport/hid/HidBackend.h"

#include <memory>

namespace ql::hid::test {

class FakeDeviceSet;

// What the library is given instead of hidraw and udev: a view of a
// FakeDeviceSet that outlives every Init and End of the test.
class FakeHidBackend final : public HidBackend {
public:
    explicit FakeHidBackend(std::shared_ptr<FakeDeviceSet> devices);

    std::optional<std::vector<DeviceEntry>> enumerate() override;
    OpenResult open(const std::string& path) override;
    std::vector<uint8_t> reportDescriptor(const std::string& path) override;
    int hotplugFd() override;
    std::vector<HotplugEvent> readHotplug() override;
    int poll(pollfd* fds, nfds_t count, int timeoutMs) override;

private:
    std::shared_ptr<FakeDeviceSet> devices_;
};

}  // namespace ql::hid::test
