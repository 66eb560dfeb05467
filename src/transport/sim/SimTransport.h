// The simulated HID library: the twelve calls of quellink.h and the control
// calls of QlSimControl.h, around one SimDevice. One notification thread
// ("the keyboard") takes the reports in order, answers them and calls the
// registered callbacks; nothing is called back on a caller's thread.
#pragma once

#include "../quellink.h"
#include "SimDevice.h"
#include "SimModel.h"
#include "SimStateFile.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace trevolin::sim {

class SimTransport {
public:
    static SimTransport& instance();

    // quellink.h
    int32_t init(int32_t flags);
    int32_t end();
    int32_t debug(int32_t level);
    int32_t getDeviceCount(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum);
    int32_t writeReports(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                         uint32_t checksum, bool exactlyOne);
    int32_t asyncRead(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum, uint32_t* handle);
    int32_t statusWrite(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                        uint32_t checksum, uint32_t* handle, bool feature);
    int32_t statusGet(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint8_t* data, uint32_t length,
                      uint32_t checksum);
    int32_t deleteRequest(uint32_t handle);

    // QlSimControl.h
    int32_t reset();
    int32_t plug(bool in);
    int32_t sendConsumerCode(uint16_t code);
    int32_t setLatency(uint32_t milliseconds);
    int32_t dropReplies(uint32_t n);
    int32_t echoOtherCommand(uint32_t n);
    int32_t failStatus(uint8_t status, uint32_t n);
    int32_t refuseWrites(int32_t n);
    int32_t leaveBusAfter(uint32_t n);
    int32_t runFaults(std::string_view script);
    int32_t logCount();
    int32_t logGet(uint32_t index, uint8_t* report);
    int32_t logClear();
    int32_t areaSize(int32_t area);
    int32_t readArea(int32_t area, uint32_t offset, uint8_t* out, uint32_t length);
    int32_t writeArea(int32_t area, uint32_t offset, const uint8_t* data, uint32_t length);
    int32_t getStoredReport(bool feature, uint8_t* out, uint32_t capacity);
    int32_t waitIdle(uint32_t timeoutMs);
    int32_t getStatePath(char* out, uint32_t capacity);

private:
    using Report = SimDevice::Report;
    using Lock = std::unique_lock<std::mutex>;

    enum class Collection { None, Vendor, Consumer, Status };

    struct Registration {
        uint32_t handle;
        Collection collection;
        QlCallback callback;
        uint32_t tag;
        bool listens;  // RequestAsyncRead; RequestStatus* requests are only kept
    };

    struct Event {
        enum class Kind { Report, Consumer, Count } kind;
        Report report{};
        uint16_t code = 0;
        uint32_t count = 0;
    };

    SimTransport() = default;

    static Collection collectionOf(const QlUnitId& unit);
    bool onWorker() const;  // mutex_ held
    int32_t checkCall(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, size_t length,
                      uint32_t checksum) const;  // mutex_ held
    // checkCall, then the collection the unit names (none: no device).
    int32_t checkCollection(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, size_t length,
                            uint32_t checksum, Collection& collection) const;  // mutex_ held
    uint32_t addRegistration(Collection collection, QlCallback cb, uint32_t tag, bool listens);
    void clearFaults();
    // Starts the model's fault script from its first step.
    void startFaultScript();
    // Arms the script's next step once the running one has used its count.
    void advanceFaultScript();
    bool faultStepRunning() const;
    void purgeReports();
    void setPlugged(bool plugged);  // queues the kind-0 notification when the count changes

    void run();
    void handleReport(Lock& lock, const Report& request);
    void leaveBus(Lock& lock);
    void deliver(Lock& lock, Collection collection, uint32_t kind, uint32_t count, const uint8_t* data,
                 uint16_t consumerCode);
    void saveIfDirty();
    void followStateFile();  // mutex_ held
    static void warn(const std::string& line);
    void trace(const char* direction, const Report& report) const;

    std::mutex lifecycle_;  // serialises init and end
    std::mutex saveMutex_;  // taken before mutex_, keeps saves in order
    bool saveWarned_ = false;

    mutable std::mutex mutex_;
    std::condition_variable wake_;       // new event, or stop
    std::condition_variable idle_;       // queue drained
    std::condition_variable delivered_;  // a callback returned
    bool ready_ = false;
    bool running_ = false;
    std::thread worker_;
    std::thread::id workerId_;
    std::deque<Event> queue_;
    bool busy_ = false;
    uint32_t delivering_ = 0;  // handle whose callback is running
    std::vector<Registration> registrations_;
    uint32_t nextHandle_ = 1;

    std::unique_ptr<SimDevice> device_ = std::make_unique<SimDevice>();
    SimModel model_;
    std::string statePath_;
    SimStateFile::Stamp stateStamp_;  // the file the memory was last loaded from or saved to
    bool unsaved_ = false;            // the last save failed: the memory is newer than the file
    bool dirty_ = false;
    bool plugged_ = false;
    uint32_t latencyMs_ = 0;
    int32_t debugLevel_ = 0;

    uint32_t dropReplies_ = 0;
    uint32_t echoOther_ = 0;
    uint32_t failCount_ = 0;
    uint8_t failStatus_ = SimDevice::kStatusRefused;
    int32_t refuseWrites_ = 0;
    uint32_t leaveAfter_ = 0;
    uint32_t passLeft_ = 0;  // requests the script lets through untouched
    uint32_t lateLeft_ = 0;  // replies the script delays by lateMs_
    uint32_t lateMs_ = 0;
    std::deque<SimFaultStep> faultScript_;
    std::optional<SimFaultStep::Kind> faultStep_;

    std::vector<Report> log_;
    std::vector<uint8_t> statusReport_;
    std::vector<uint8_t> featureReport_;
};

}  // namespace trevolin::sim
