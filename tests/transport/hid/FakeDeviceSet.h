#pragma once

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
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <poll.h>
#include <pthread.h>

namespace ql::hid::test {

struct FakeDevice {
    std::string path;
    std::string device = "/sys/devices/usb1/1-1";  // the USB device the node belongs to
    uint16_t vendorId = 0x0C45;
    uint16_t productId = 0x5004;
    std::vector<uint8_t> descriptor;  // empty: unreadable
    OpenError openError = OpenError::None;
};

struct SentReport {
    std::string path;
    ReportType type;
    std::vector<uint8_t> bytes;

    friend bool operator==(const SentReport&, const SentReport&) = default;
};

// hidraw nodes as the tests script them, with real descriptors to poll:
// every open file is one end of a socket pair, so the library's poll loops
// run as they do on hidraw. Every open file gets its own copy of each input
// report, as with the kernel; unplugging hangs every file on the node up
// (what is queued can still be read) and later opens find it gone. udev's
// announcements come through an eventfd.
class FakeDeviceSet : public std::enable_shared_from_this<FakeDeviceSet> {
public:
    enum class Listing { Normal, Fails, Empty };

    FakeDeviceSet();
    ~FakeDeviceSet();
    FakeDeviceSet(const FakeDeviceSet&) = delete;
    FakeDeviceSet& operator=(const FakeDeviceSet&) = delete;

    // Listed, and announced by udev.
    void plug(FakeDevice device);
    // Announced as removed; every open file on it hangs up.
    void unplug(const std::string& path);
    // Every open file on it hangs up, but the node stays listed: a device
    // that fails as soon as it is opened.
    void hangUp(const std::string& path);
    void setOpenError(const std::string& path, OpenError error);
    void inject(const std::string& path, std::vector<uint8_t> report);
    void setFeatureReply(std::vector<uint8_t> reply);
    // Runs at the start of every write, unlocked: a test pulls the keyboard out here.
    void setWriteHook(std::function<void(const std::string& path)> hook);
    void setListing(Listing listing);

    std::vector<SentReport> sent() const;
    int openHandles(const std::string& path) const;
    int openHandles() const;
    int enumerations() const;

    // Waits until `threads` threads are inside poll(), interrupts each with
    // a signal, and waits until each has returned EINTR. False when they
    // never get there (the guard is minutes long: it ends a broken run).
    bool interruptPolls(size_t threads);

    // The backend's side.
    std::optional<std::vector<DeviceEntry>> enumerate();
    OpenResult open(const std::string& path);
    std::vector<uint8_t> descriptor(const std::string& path) const;
    int hotplugFd() const { return hotplugFd_; }
    std::vector<HotplugEvent> readHotplug();
    int poll(pollfd* fds, nfds_t count, int timeoutMs);

    // An open file's side.
    int send(int handle, ReportType type, const uint8_t* data, size_t length);
    int getFeature(int handle, uint8_t* buffer, size_t length);
    void close(int handle);

private:
    struct Handle {
        std::string path;
        int deviceEnd = -1;  // closed when the node hangs up
    };

    void hangUpLocked(const std::string& path);
    void announceLocked(HotplugEvent::Action action, const std::string& path);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, FakeDevice> devices_;
    std::map<int, Handle> handles_;
    int nextHandle_ = 1;
    std::vector<SentReport> sent_;
    std::vector<uint8_t> featureReply_;
    std::function<void(const std::string&)> writeHook_;
    Listing listing_ = Listing::Normal;
    int enumerations_ = 0;
    int hotplugFd_ = -1;
    std::deque<HotplugEvent> events_;
    std::set<pthread_t> inPoll_;
    size_t interrupted_ = 0;
};

}  // namespace ql::hid::test
