#pragma once

#include "DeviceEntry.h"
#include "HidConnection.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <poll.h>

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

struct HotplugEvent {
    enum class Action { Added, Removed };
    Action action = Action::Added;
    std::string path;
};

// The operating system as the library sees it: hidraw and libudev in the
// shipped library, a scripted device set in the tests.
class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Every hidraw node; empty when the listing failed, which is not the
    // same as a machine without nodes.
    virtual std::optional<std::vector<DeviceEntry>> enumerate() = 0;
    virtual OpenResult open(const std::string& path) = 0;
    // The node's report descriptor; empty when it cannot be read.
    virtual std::vector<uint8_t> reportDescriptor(const std::string& path) = 0;

    // Readable when hidraw nodes came or went; -1 when nobody tells.
    virtual int hotplugFd() = 0;
    // What came and went since the last call. Never blocks.
    virtual std::vector<HotplugEvent> readHotplug() = 0;

    // poll(2), here so that the tests can interrupt it.
    virtual int poll(pollfd* fds, nfds_t count, int timeoutMs) { return ::poll(fds, count, timeoutMs); }
};

}  // namespace ql::hid
