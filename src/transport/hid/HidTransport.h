#pragma once

#include "../quellink.h"
#include "DeviceNode.h"
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
#include <string>
#include <thread>
#include <vector>

namespace ql::hid {

struct TransportOptions {
    // How often the enumeration is read again to see keyboards come and go.
    std::chrono::milliseconds pollInterval{1000};
    // How long a reader waits for a report before it looks whether to stop.
    int readTimeoutMs = 100;
};

// The devices, the requests and the threads between Init and End.
//
// The poller thread reads the enumeration of every unit asked about, opens
// the nodes that carry one, closes the ones that went away, and tells the
// read requests when their unit's device count changes. Each open node has
// a reader thread that hands input reports to the matching read requests.
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

    void start();
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
    // fails: it is sent again whenever a device carrying the unit arrives,
    // so a replugged keyboard shows the indicator state the program set.
    // Its callback is never called; the report is the whole request.
    int32_t addStatus(const UnitMatch& unit, QlCallback callback, uint32_t tag, const uint8_t* data,
                      size_t length, uint32_t& handle);
    bool remove(uint32_t handle);
    // 0, or QL_ERR_PERMISSION with a sentence naming the nodes.
    int32_t describeProblem(std::string& sentence) const;

    // Runs one pass of the poller now and returns once it, and the callbacks
    // it made, are done. For tests; does nothing on the poller thread itself.
    void pollNow();
    void setDeleteWaitObserver(std::function<void()> observer);

private:
    enum class RefreshMode {
        Poll,      // the poller's full pass
        OpenOnly,  // a caller asked about a unit for the first time
    };
    struct Listing {
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        std::vector<CollectionUsage> collections;
    };
    struct Denied {
        uint16_t vendorId = 0;
        uint16_t productId = 0;
    };
    struct CountNotice {
        std::shared_ptr<Request> request;
        uint32_t count = 0;
    };
    struct StatusSend {
        std::shared_ptr<Request> request;
        std::shared_ptr<DeviceNode> node;
    };

    void inputReport(const DeviceNode& node, size_t collection, const uint8_t* data, size_t length) override;
    void nodeFailed(const DeviceNode& node) override;

    void pollLoop();
    void requestPass();
    void watch(const UnitMatch& unit, bool forRequest);
    void refresh(RefreshMode mode, const std::vector<UnitMatch>& units);
    std::shared_ptr<DeviceNode> openNode(const std::string& path, const Listing& listing,
                                         const std::vector<UnitMatch>& units, std::map<std::string, Denied>& denied);
    // state_ held:
    uint32_t countLocked(const UnitMatch& unit) const;
    std::shared_ptr<DeviceNode> targetLocked(const UnitMatch& unit) const;
    // The node a send goes to; null with `error` set when there is none.
    std::shared_ptr<DeviceNode> targetOf(const UnitMatch& unit, int32_t& error);
    void collectChangesLocked(std::vector<CountNotice>& notices, std::vector<StatusSend>& sends);

    const std::unique_ptr<HidBackend> backend_;
    const TransportOptions options_;
    RequestRegistry registry_;

    std::mutex refreshMutex_;  // one refresh at a time, across its device I/O
    uint64_t nextSerial_ = 1;  // guarded by refreshMutex_
    mutable std::mutex state_;
    bool stopped_ = false;
    std::vector<UnitMatch> watched_;
    std::map<std::string, std::shared_ptr<DeviceNode>> nodes_;  // by path; the first match is the target of sends
    std::map<std::string, Denied> denied_;

    std::mutex pollMutex_;
    std::condition_variable pollWake_;
    std::condition_variable pollDone_;
    bool pollStop_ = false;
    bool pollRunning_ = false;
    uint64_t passRequested_ = 0;
    uint64_t passStarted_ = 0;
    uint64_t passCompleted_ = 0;
    std::thread poller_;
    std::thread::id pollerId_;
};

}  // namespace ql::hid
