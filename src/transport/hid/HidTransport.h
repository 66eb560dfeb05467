#pragma once

#include "../quellink.h"
#include "Channel.h"
#include "EventFd.h"
#include "HidBackend.h"
#include "ReportDescriptor.h"
#include "ReportSink.h"
#include "Request.h"
#include "RequestRegistry.h"
#include "UnitMatch.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace ql::hid {

struct TransportOptions {
    // What the back-off before reopening a failing node measures with.
    std::function<std::chrono::steady_clock::time_point()> now = [] { return std::chrono::steady_clock::now(); };
};

// The devices, the requests and the threads between Init and End.
//
// Nodes are grouped into keyboards by the USB device they belong to. For
// each product asked about, one keyboard is in use (the one already in use,
// else the first by its sysfs path): every collection the program asks for
// is opened on it as a Channel, and nothing of another keyboard is opened.
// A unit counts 1 while the keyboard in use carries it, else 0; when that
// keyboard goes and another takes over, the read requests hear 0 and then 1.
//
// The hotplug thread sleeps in poll() on an eventfd and the udev monitor:
// it enumerates when udev announces a node, drops a node when udev removes
// it or one of its channels hangs up, opens what is wanted and tells the
// read requests of count changes. Each channel has a reader thread of its
// own. Nothing wakes up on a timer, except to retry a node that failed at
// once (after a back-off) or, without a udev monitor, to enumerate again.
// Callbacks run only on these threads.
//
// Locks are taken in this order: refreshMutex_, state_, the registry's.
// No lock is held while a callback runs or while a thread is joined.
class HidTransport final : private ReportSink {
public:
    HidTransport(std::unique_ptr<HidBackend> backend, TransportOptions options);
    ~HidTransport() override;
    HidTransport(const HidTransport&) = delete;
    HidTransport& operator=(const HidTransport&) = delete;

    // False when the hotplug thread's wake-up descriptor could not be made.
    bool start();
    // Stops every thread, closes every node and forgets every request.
    // Never from one of this transport's threads.
    void stop();

    uint32_t deviceCount(const UnitMatch& unit);
    // QL_ERR_* or 1; `type` is Output or Feature.
    int32_t send(const UnitMatch& unit, ReportType type, const uint8_t* data, size_t length);
    // QL_ERR_* or the bytes read.
    int32_t getFeature(const UnitMatch& unit, uint8_t* data, size_t length);
    // QL_ERR_NOT_READY once stopped, else 1 and the handle.
    int32_t addRead(const UnitMatch& unit, QlCallback callback, uint32_t tag, uint32_t& handle);
    // Keeps the request (and stores the handle) even when the first send
    // fails: it is sent again whenever a keyboard carrying the unit arrives,
    // so a replugged keyboard shows the indicator state the program set.
    // Its callback is never called; the report is the whole request.
    int32_t addStatus(const UnitMatch& unit, QlCallback callback, uint32_t tag, const uint8_t* data, size_t length,
                      uint32_t& handle);
    bool remove(uint32_t handle);
    // 0, or QL_ERR_PERMISSION / QL_ERR_IO with a sentence naming the nodes.
    int32_t describeProblem(std::string& sentence) const;

    // Enumerates now and returns once that pass, and the callbacks it made,
    // are done. For tests; does nothing on the hotplug thread itself.
    void pollNow();
    void setDeleteWaitObserver(std::function<void()> observer);

private:
    using Clock = std::chrono::steady_clock;
    using Product = std::pair<uint16_t, uint16_t>;

    struct Node {
        DeviceEntry entry;
        std::shared_ptr<const ReportDescriptor> descriptor;  // null when unreadable or malformed
    };
    struct Backoff {
        int failures = 0;
        Clock::time_point retryAt;
    };
    struct Active {
        std::string deviceKey;
        uint64_t serial = 0;
    };
    struct Problem {
        bool permission = false;  // else the descriptor could not be read
        uint16_t vendorId = 0;
        uint16_t productId = 0;
    };
    struct CountNotice {
        std::shared_ptr<Request> request;
        uint32_t count = 0;
    };
    struct StatusSend {
        std::shared_ptr<Request> request;
        std::shared_ptr<Channel> channel;
    };

    void inputReport(const Channel& channel, const uint8_t* data, size_t length) override;
    void channelFailed(const Channel& channel) override;

    void hotplugLoop();
    int timeoutMs();
    void requestPass(bool enumerate);
    void watch(const UnitMatch& unit, bool forRequest);
    // Brings the open channels in line with the nodes and the units asked
    // about. Only the hotplug thread (`fromHotplug`) closes channels: a
    // caller may be a reader thread, which must not join itself.
    void refresh(bool enumerate, const std::vector<std::string>& removed, bool fromHotplug,
                 const std::optional<UnitMatch>& asked = std::nullopt);
    void learn(const std::vector<DeviceEntry>& listed, const std::vector<UnitMatch>& units,
               std::vector<std::string>& replaced);
    void backOff(const std::string& path, Clock::time_point now);
    void announce();
    // state_ held:
    std::pair<uint32_t, uint64_t> presenceLocked(const UnitMatch& unit) const;
    std::shared_ptr<Channel> targetLocked(const UnitMatch& unit) const;
    // The channel a send goes to; null with `error` set when there is none.
    std::shared_ptr<Channel> targetOf(const UnitMatch& unit, int32_t& error);
    void collectChangesLocked(std::vector<CountNotice>& notices, std::vector<StatusSend>& sends);
    int32_t sendResult(const Channel& channel, int sent);

    const std::unique_ptr<HidBackend> backend_;
    const TransportOptions options_;
    RequestRegistry registry_;

    std::mutex refreshMutex_;            // one refresh at a time, across its device I/O; guards what follows
    std::map<std::string, Node> nodes_;  // the hidraw nodes of the products asked about, by path
    std::map<std::string, Backoff> backoff_;
    std::map<Product, Active> active_;
    uint64_t nextSerial_ = 1;

    mutable std::mutex state_;
    bool stopped_ = false;
    std::vector<UnitMatch> watched_;
    std::vector<std::shared_ptr<Channel>> channels_;
    std::map<std::string, Problem> problems_;

    EventFd wake_;
    std::mutex passMutex_;
    std::condition_variable passDone_;
    bool stopping_ = false;
    bool running_ = false;
    bool enumerateRequested_ = false;
    uint64_t passRequested_ = 0;
    uint64_t passCompleted_ = 0;
    std::thread hotplug_;
    std::thread::id hotplugId_;
};

}  // namespace ql::hid
