#pragma once

#include "transport/hid/HidBackend.h"

#include <memory>

namespace ql::hid::test {

class FakeDeviceSet;

// What the library is given instead of hidapi: a view of a FakeDeviceSet
// that outlives every Init and End of the test.
class FakeHidBackend final : public HidBackend {
public:
    explicit FakeHidBackend(std::shared_ptr<FakeDeviceSet> devices);

    std::vector<DeviceEntry> enumerate(uint16_t vendorId, uint16_t productId) override;
    OpenResult open(const std::string& path) override;
    std::vector<uint8_t> reportDescriptor(const std::string& path) override;

private:
    std::shared_ptr<FakeDeviceSet> devices_;
};

}  // namespace ql::hid::test
