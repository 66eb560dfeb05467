#pragma once

#include "DeviceEntry.h"
#include "HidConnection.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ql::hid {

enum class OpenError {
    None,
    Permission,  // the node exists but this user may not read and write it
    Gone,        // the node vanished between enumeration and open
    Failed,
};

struct OpenResult {
    std::unique_ptr<HidConnection> connection;  // set exactly when error is None
    OpenError error = OpenError::None;
};

// The few operating-system calls the library makes: hidapi in the shipped
// library, a scripted device set in the tests.
class HidBackend {
public:
    virtual ~HidBackend() = default;

    virtual std::vector<DeviceEntry> enumerate(uint16_t vendorId, uint16_t productId) = 0;
    virtual OpenResult open(const std::string& path) = 0;
    // The node's report descriptor; empty when it cannot be read.
    virtual std::vector<uint8_t> reportDescriptor(const std::string& path) = 0;
};

}  // namespace ql::hid
