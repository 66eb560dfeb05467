#pragma once

#include <cstdint>
#include <string>

namespace ql::hid {

// One hidraw node as the enumeration lists it.
struct DeviceEntry {
    std::string path;  // "/dev/hidraw3"
    // Names the physical device the node belongs to (the USB device in sysfs):
    // one keyboard's interfaces share it, two keyboards never do.
    std::string deviceKey;
    uint16_t vendorId = 0;
    uint16_t productId = 0;

    friend bool operator==(const DeviceEntry&, const DeviceEntry&) = default;
};

}  // namespace ql::hid
