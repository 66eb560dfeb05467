#pragma once

#include "CollectionUsage.h"
#include "HidConnection.h"
#include "ReportDescriptor.h"
#include "UnitMatch.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace ql::hid {

class ReportSink;

// One open hidraw node and every collection on it. The node is opened once
// however many collections share it; its reader thread reads every input
// report and tells by the report id which collection it belongs to.
class DeviceNode {
public:
    static constexpr int kClosed = -2;  // write result once the node is closed

    struct Identity {
        std::string path;
        uint16_t vendorId = 0;
        uint16_t productId = 0;
    };

    // Without a readable descriptor, `listed` (what the enumeration says the
    // node carries) stands in for its collections.
    DeviceNode(uint64_t serial, Identity identity, std::optional<ReportDescriptor> descriptor,
               std::vector<CollectionUsage> listed, std::unique_ptr<HidConnection> reader,
               std::unique_ptr<HidConnection> writer);
    ~DeviceNode();
    DeviceNode(const DeviceNode&) = delete;
    DeviceNode& operator=(const DeviceNode&) = delete;

    void start(ReportSink& sink, int readTimeoutMs);
    void requestStop();
    // Joins the reader and closes both handles. Never from the reader thread.
    void stop();

    uint64_t serial() const { return serial_; }
    const Identity& identity() const { return identity_; }
    const std::vector<CollectionUsage>& collections() const { return collections_; }
    bool carries(const UnitMatch& unit) const;
    bool failed() const { return failed_.load(); }

    // Sends an output or feature report, report id first, zero-padded to the
    // length the descriptor declares for that id. Bytes sent, -1, or kClosed.
    int send(ReportType type, const uint8_t* data, size_t length);
    int getFeature(uint8_t* data, size_t length);

private:
    void run(ReportSink& sink, int readTimeoutMs);
    void route(ReportSink& sink, size_t length);

    const uint64_t serial_;
    const Identity identity_;
    const std::optional<ReportDescriptor> descriptor_;
    const std::vector<CollectionUsage> collections_;

    std::unique_ptr<HidConnection> reader_;  // the reader thread's alone
    std::vector<uint8_t> buffer_;            // the reader thread's alone
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> failed_{false};

    std::mutex writeMutex_;
    std::unique_ptr<HidConnection> writer_;  // guarded by writeMutex_; null once closed
};

}  // namespace ql::hid
