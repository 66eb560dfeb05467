#pragma once

#include <cstddef>
#include <cstdint>

namespace ql::hid {

class DeviceNode;

// Where a node's reader thread hands what it reads.
class ReportSink {
public:
    virtual ~ReportSink() = default;

    // One input report of node.collections()[collection], report id first.
    virtual void inputReport(const DeviceNode& node, size_t collection, const uint8_t* data, size_t length) = 0;
    // The node stopped answering reads, as an unplugged device does.
    virtual void nodeFailed(const DeviceNode& node) = 0;
};

}  // namespace ql::hid
