#pragma once

#include "transport/hid/CollectionUsage.h"
#include "transport/hid/DeviceEntry.h"
#include "transport/hid/HidBackend.h"
#include "transport/hid/ReportDescriptor.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ql::hid::test {

struct FakeDevice {
    std::string path;
    uint16_t vendorId = 0x0C45;
    uint16_t productId = 0x5004;
    std::vector<CollectionUsage> listed;  // the enumeration's lines for this node
    std::vector<uint8_t> descriptor;      // empty: unreadable
    OpenError openError = OpenError::None;
};

struct SentReport {
    std::string path;
    ReportType type;
    std::vector<uint8_t> bytes;

    friend bool operator==(const SentReport&, const SentReport&) = default;
};

// hidraw nodes as the tests script them. Every open handle gets its own
// copy of each input report, as with the kernel; unplugging a node makes
// every handle on it fail, and later opens find it gone.
class FakeDeviceSet : public std::enable_shared_from_this<FakeDeviceSet> {
public:
    void plug(FakeDevice device);
    void unplug(const std::string& path);
    void setOpenError(const std::string& path, OpenError error);
    void inject(const std::string& path, std::vector<uint8_t> report);
    void setFeatureReply(std::vector<uint8_t> reply);
    // Runs at the start of every write, unlocked: a test pulls the keyboard out here.
    void setWriteHook(std::function<void(const std::string& path)> hook);

    std::vector<SentReport> sent() const;
    int openHandles(const std::string& path) const;
    int openHandles() const;

    // The backend's side.
    std::vector<DeviceEntry> enumerate(uint16_t vendorId, uint16_t productId) const;
    OpenResult open(const std::string& path);
    std::vector<uint8_t> descriptor(const std::string& path) const;

    // A handle's side.
    int send(int handle, ReportType type, const uint8_t* data, size_t length);
    int read(int handle, uint8_t* buffer, size_t capacity, int timeoutMs);
    int getFeature(int handle, uint8_t* buffer, size_t length);
    void close(int handle);

private:
    struct Handle {
        std::string path;
        std::deque<std::vector<uint8_t>> input;
        bool dead = false;
    };

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, FakeDevice> devices_;
    std::map<int, Handle> handles_;
    int nextHandle_ = 1;
    std::vector<SentReport> sent_;
    std::vector<uint8_t> featureReply_;
    std::function<void(const std::string&)> writeHook_;
};

}  // namespace ql::hid::test
