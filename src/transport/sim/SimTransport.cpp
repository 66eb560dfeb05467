#include "SimTransport.h"

#include "../QlChecksum.h"
#include "QlSimControl.h"
#include "SimStateFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <utility>

#include <sys/prctl.h>

namespace trevolin::sim {
namespace {

constexpr uint16_t kVendorId = 0x0C45;
constexpr uint16_t kProductId = 0x5004;
constexpr uint32_t kMatchAll = 15;
constexpr size_t kMaxLog = 65536;
constexpr uint32_t kMaxWrite = 64 * 64;
constexpr uint32_t kMaxStatusReport = 64;

bool persisted(Area area)
{
    return area == Area::Lighting || area == Area::Keymaps || area == Area::Macro || area == Area::KeyColors;
}

bool validArea(int32_t area)
{
    return area >= static_cast<int32_t>(Area::Info) && area <= static_cast<int32_t>(Area::KeyColors);
}

}  // namespace

SimTransport& SimTransport::instance()
{
    // Never destroyed: the notification thread may still be running when the
    // process exits (the program never calls End), and must not find its
    // state torn down under it.
    static SimTransport* const transport = new SimTransport;
    return *transport;
}

// ---------------------------------------------------------------------------
// Helpers

SimTransport::Collection SimTransport::collectionOf(const QlUnitId& unit)
{
    if (unit.matchFlags != kMatchAll || unit.vendorId != kVendorId || unit.productId != kProductId ||
        unit.reserved != 0)
        return Collection::None;
    if (unit.usagePage == 0xFF1C && unit.usage == 0x0092)
        return Collection::Vendor;
    if (unit.usagePage == 0x000C && unit.usage == 0x0001)
        return Collection::Consumer;
    if (unit.usagePage == 0x0008 && unit.usage == 0x0089)
        return Collection::Status;
    return Collection::None;
}

bool SimTransport::onWorker() const
{
    return ready_ && std::this_thread::get_id() == workerId_;
}

int32_t SimTransport::checkCall(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, size_t length,
                                uint32_t checksum) const
{
    if (!ready_)
        return QL_ERR_NOT_READY;
    if (ql::callSum(unit, cb, tag, data, length) != checksum)
        return QL_ERR_CHECKSUM;
    return 0;
}

int32_t SimTransport::checkCollection(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data,
                                      size_t length, uint32_t checksum, Collection& collection) const
{
    if (const int32_t error = checkCall(unit, cb, tag, data, length, checksum))
        return error;
    collection = collectionOf(*unit);
    return collection == Collection::None ? QL_ERR_NO_DEVICE : 0;
}

uint32_t SimTransport::addRegistration(Collection collection, QlCallback cb, uint32_t tag, bool listens)
{
    const uint32_t handle = nextHandle_++;
    if (nextHandle_ == 0)
        nextHandle_ = 1;
    registrations_.push_back({handle, collection, cb, tag, listens});
    return handle;
}

void SimTransport::clearFaults()
{
    dropReplies_ = 0;
    echoOther_ = 0;
    failCount_ = 0;
    failStatus_ = SimDevice::kStatusRefused;
    refuseWrites_ = 0;
    leaveAfter_ = 0;
    passLeft_ = 0;
    lateLeft_ = 0;
    lateMs_ = 0;
    faultScript_.clear();
    faultStep_.reset();
}

void SimTransport::startFaultScript()
{
    clearFaults();
    faultScript_.assign(model_.faults.begin(), model_.faults.end());
}

bool SimTransport::faultStepRunning() const
{
    if (!faultStep_)
        return false;
    switch (*faultStep_) {
    case SimFaultStep::Kind::Pass:
        return passLeft_ > 0;
    case SimFaultStep::Kind::Drop:
        return dropReplies_ > 0;
    case SimFaultStep::Kind::Late:
        return lateLeft_ > 0;
    case SimFaultStep::Kind::Echo:
        return echoOther_ > 0;
    case SimFaultStep::Kind::Status:
        return failCount_ > 0;
    case SimFaultStep::Kind::RefuseWrites:
        return refuseWrites_ != 0;
    case SimFaultStep::Kind::LeaveAfter:
        return leaveAfter_ > 0;
    }
    return false;
}

void SimTransport::advanceFaultScript()
{
    while (!faultScript_.empty() && !faultStepRunning()) {
        const SimFaultStep step = faultScript_.front();
        faultScript_.pop_front();
        faultStep_ = step.kind;
        switch (step.kind) {
        case SimFaultStep::Kind::Pass:
            passLeft_ = step.count;
            break;
        case SimFaultStep::Kind::Drop:
            dropReplies_ = step.count;
            break;
        case SimFaultStep::Kind::Late:
            lateLeft_ = step.count;
            lateMs_ = step.value;
            break;
        case SimFaultStep::Kind::Echo:
            echoOther_ = step.count;
            break;
        case SimFaultStep::Kind::Status:
            failStatus_ = static_cast<uint8_t>(step.value);
            failCount_ = step.count;
            break;
        case SimFaultStep::Kind::RefuseWrites:
            refuseWrites_ = static_cast<int32_t>(step.count);
            break;
        case SimFaultStep::Kind::LeaveAfter:
            leaveAfter_ = step.value;
            break;
        }
    }
    if (!faultStepRunning())
        faultStep_.reset();
}

void SimTransport::purgeReports()
{
    std::erase_if(queue_, [](const Event& e) { return e.kind == Event::Kind::Report; });
}

void SimTransport::setPlugged(bool plugged)
{
    if (plugged_ == plugged)
        return;
    plugged_ = plugged;
    if (!plugged)
        purgeReports();
    Event event{Event::Kind::Count};
    event.count = plugged ? 1 : 0;
    queue_.push_back(event);
    wake_.notify_all();
}

void SimTransport::warn(const std::string& line)
{
    std::fprintf(stderr, "quellink-sim: %s\n", line.c_str());
}

void SimTransport::trace(const char* direction, const Report& report) const
{
    if (debugLevel_ <= 0)
        return;
    char text[64 * 3 + 1];
    for (size_t i = 0; i < report.size(); ++i)
        std::snprintf(text + 3 * i, 4, "%02X ", report[i]);
    std::fprintf(stderr, "quellink-sim: %s %s\n", direction, text);
}

void SimTransport::saveIfDirty()
{
    std::lock_guard save(saveMutex_);
    std::vector<uint8_t> image;
    std::string path;
    bool durable = false;
    {
        std::lock_guard lock(mutex_);
        if (!dirty_)
            return;
        dirty_ = false;
        if (statePath_.empty())
            return;
        image = SimStateFile::encode(*device_);
        path = statePath_;
        durable = model_.syncWrites;
    }
    std::string error;
    if (SimStateFile::save(path, image, durable, error)) {
        const SimStateFile::Stamp stamp = SimStateFile::stampOf(path);
        std::lock_guard lock(mutex_);
        stateStamp_ = stamp;
        unsaved_ = false;
    } else {
        {
            std::lock_guard lock(mutex_);
            unsaved_ = true;
        }
        // Once per Init: a keyboard whose memory cannot be stored still works.
        if (!saveWarned_)
            warn(error + "; the simulated keyboard's memory is not being saved");
        saveWarned_ = true;
    }
}

// Two processes that open the simulated keyboard share one keyboard, as two
// programs share a real one: each keeps the memory in its own copy, so a
// save by another process (it renames a new file over the state file) is
// loaded before this one answers or shows the memory again. Memory this
// process could not save is kept.
void SimTransport::followStateFile()
{
    if (statePath_.empty() || dirty_ || unsaved_)
        return;
    const SimStateFile::Stamp stamp = SimStateFile::stampOf(statePath_);
    if (stamp == stateStamp_ || stamp == SimStateFile::Stamp{})
        return;
    if (SimStateFile::load(statePath_, *device_) == SimStateFile::Load::Loaded)
        stateStamp_ = stamp;
}

// ---------------------------------------------------------------------------
// quellink.h

int32_t SimTransport::init(int32_t /*flags*/)
{
    {
        std::lock_guard lock(mutex_);
        if (onWorker())
            return 1;  // called from a callback: the library is up by definition
    }
    std::lock_guard life(lifecycle_);
    {
        std::lock_guard lock(mutex_);
        if (ready_)
            return 1;
    }

    std::vector<std::string> warnings;
    const SimModel model = SimModel::fromEnvironment(warnings);
    const std::string path = SimStateFile::defaultPath();
    auto device = std::make_unique<SimDevice>();
    device->factoryReset(model);
    if (path.empty()) {
        warnings.push_back("neither TREVOLIN_SIM_STATE nor a home folder is set; the memory is not saved");
    } else if (SimStateFile::load(path, *device) == SimStateFile::Load::Corrupt) {
        device->factoryReset(model);
        warnings.push_back("state file " + path + " is corrupt or truncated; starting from factory state");
    }
    for (const std::string& line : warnings)
        warn(line);

    {
        std::lock_guard save(saveMutex_);
        saveWarned_ = false;
    }
    const SimStateFile::Stamp stamp = SimStateFile::stampOf(path);
    std::lock_guard lock(mutex_);
    device_ = std::move(device);
    model_ = model;
    statePath_ = path;
    stateStamp_ = stamp;
    dirty_ = false;
    unsaved_ = false;
    plugged_ = model.present;
    latencyMs_ = model.latencyMs;
    debugLevel_ = model.debugLevel;
    startFaultScript();
    log_.clear();
    statusReport_.clear();
    featureReport_.clear();
    queue_.clear();
    busy_ = false;
    delivering_ = 0;
    running_ = true;
    ready_ = true;
    // Started under the lock, so the thread cannot run before workerId_ is set.
    worker_ = std::thread(&SimTransport::run, this);
    workerId_ = worker_.get_id();
    return 1;
}

int32_t SimTransport::end()
{
    {
        std::lock_guard lock(mutex_);
        if (onWorker())
            return QL_ERR_ARGUMENT;  // the thread cannot join itself
    }
    std::lock_guard life(lifecycle_);
    {
        std::lock_guard lock(mutex_);
        if (!ready_)
            return QL_ERR_NOT_READY;
        running_ = false;
        wake_.notify_all();
    }
    worker_.join();
    std::lock_guard lock(mutex_);
    ready_ = false;
    workerId_ = {};
    queue_.clear();
    registrations_.clear();
    busy_ = false;
    delivering_ = 0;
    idle_.notify_all();
    delivered_.notify_all();
    return 1;
}

int32_t SimTransport::debug(int32_t level)
{
    std::lock_guard lock(mutex_);
    const int32_t previous = debugLevel_;
    debugLevel_ = level;
    return previous;
}

int32_t SimTransport::getDeviceCount(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum)
{
    if (!unit)
        return QL_ERR_ARGUMENT;
    std::lock_guard lock(mutex_);
    if (const int32_t error = checkCall(unit, cb, tag, nullptr, 0, checksum))
        return error;
    return collectionOf(*unit) != Collection::None && plugged_ ? 1 : 0;
}

int32_t SimTransport::writeReports(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data,
                                   uint32_t length, uint32_t checksum, bool exactlyOne)
{
    if (!unit || !data)
        return QL_ERR_ARGUMENT;
    std::lock_guard lock(mutex_);
    Collection collection = Collection::None;
    if (const int32_t error = checkCollection(unit, cb, tag, data, length, checksum, collection))
        return error;
    if (collection != Collection::Vendor)
        return QL_ERR_ARGUMENT;  // only the vendor collection takes output reports
    const bool lengthOk = exactlyOne ? length == SimDevice::kReportSize
                                     : length > 0 && length <= kMaxWrite && length % SimDevice::kReportSize == 0;
    if (!lengthOk)
        return QL_ERR_ARGUMENT;
    if (!plugged_)
        return QL_ERR_NO_DEVICE;
    advanceFaultScript();
    if (refuseWrites_ != 0) {
        if (refuseWrites_ > 0)
            --refuseWrites_;
        return QL_ERR_IO;
    }
    for (uint32_t at = 0; at < length; at += SimDevice::kReportSize) {
        Event event{Event::Kind::Report};
        std::memcpy(event.report.data(), data + at, SimDevice::kReportSize);
        if (log_.size() < kMaxLog)
            log_.push_back(event.report);
        queue_.push_back(event);
    }
    wake_.notify_all();
    return 1;
}

int32_t SimTransport::asyncRead(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum, uint32_t* handle)
{
    if (!unit || !cb || !handle)
        return QL_ERR_ARGUMENT;
    std::lock_guard lock(mutex_);
    Collection collection = Collection::None;
    if (const int32_t error = checkCollection(unit, cb, tag, nullptr, 0, checksum, collection))
        return error;
    // Registering works while unplugged: the request then hears the arrival.
    *handle = addRegistration(collection, cb, tag, true);
    return 1;
}

int32_t SimTransport::statusWrite(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data,
                                  uint32_t length, uint32_t checksum, uint32_t* handle, bool feature)
{
    if (!unit || !data)
        return QL_ERR_ARGUMENT;
    std::lock_guard lock(mutex_);
    Collection collection = Collection::None;
    if (const int32_t error = checkCollection(unit, cb, tag, data, length, checksum, collection))
        return error;
    if (collection != Collection::Status || length == 0 || length > kMaxStatusReport)
        return QL_ERR_ARGUMENT;
    if (!plugged_)
        return QL_ERR_NO_DEVICE;
    (feature ? featureReport_ : statusReport_).assign(data, data + length);
    if (handle)
        *handle = addRegistration(collection, cb, tag, false);
    return 1;
}

int32_t SimTransport::statusGet(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint8_t* data, uint32_t length,
                                uint32_t checksum)
{
    if (!unit || !data)
        return QL_ERR_ARGUMENT;
    std::lock_guard lock(mutex_);
    // The buffer is filled, not sent, so it is not part of the checksum.
    Collection collection = Collection::None;
    if (const int32_t error = checkCollection(unit, cb, tag, nullptr, 0, checksum, collection))
        return error;
    if (collection != Collection::Status)
        return QL_ERR_ARGUMENT;
    if (!plugged_)
        return QL_ERR_NO_DEVICE;
    const uint32_t n = std::min<uint32_t>(length, static_cast<uint32_t>(statusReport_.size()));
    std::copy_n(statusReport_.begin(), n, data);
    return static_cast<int32_t>(n);
}

int32_t SimTransport::deleteRequest(uint32_t handle)
{
    if (handle == 0)
        return 0;
    Lock lock(mutex_);
    const auto found = std::find_if(registrations_.begin(), registrations_.end(),
                                    [&](const Registration& r) { return r.handle == handle; });
    if (found == registrations_.end())
        return 0;
    registrations_.erase(found);
    // Once this returns, the callback is neither running nor going to run:
    // deliver() looks the handle up again before every call. From inside the
    // callback itself there is nothing to wait for.
    if (!onWorker())
        delivered_.wait(lock, [&] { return delivering_ != handle; });
    return 1;
}

// ---------------------------------------------------------------------------
// The keyboard's thread

void SimTransport::run()
{
    // A keyboard answers on time: ask the kernel to wake this thread within
    // a few microseconds of its deadline instead of the default 50.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    Lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return !running_ || !queue_.empty(); });
        if (!running_)
            break;
        const Event event = queue_.front();
        queue_.pop_front();
        busy_ = true;
        switch (event.kind) {
        case Event::Kind::Report:
            handleReport(lock, event.report);
            break;
        case Event::Kind::Consumer: {
            const uint8_t report[3] = {QL_SIM_CONSUMER_REPORT_ID, static_cast<uint8_t>(event.code & 0xFF),
                                       static_cast<uint8_t>(event.code >> 8)};
            deliver(lock, Collection::Consumer, 1, sizeof report, report, event.code);
            break;
        }
        case Event::Kind::Count:
            deliver(lock, Collection::None, 0, event.count, nullptr, 0);
            break;
        }
        busy_ = false;
        if (queue_.empty())
            idle_.notify_all();
    }
    busy_ = false;
    idle_.notify_all();
}

void SimTransport::handleReport(Lock& lock, const Report& request)
{
    if (!plugged_)
        return;  // sent before the keyboard left; lost with it
    // The latency counts from the report's arrival, so the time spent
    // handling it (saving the memory included) is part of it, as on a
    // keyboard that works while the reply is due.
    const auto arrived = std::chrono::steady_clock::now();
    followStateFile();
    trace("<-", request);
    advanceFaultScript();
    if (passLeft_ > 0)
        --passLeft_;
    uint32_t latencyMs = latencyMs_;
    if (lateLeft_ > 0) {
        --lateLeft_;
        latencyMs = lateMs_;
    }

    SimDevice::Outcome out;
    if (failCount_ > 0 && !SimDevice::isBootRequest(request)) {
        --failCount_;
        out.reply = SimDevice::refusal(request, failStatus_);
        out.hasReply = true;
    } else {
        out = device_->handle(request);
    }
    if (out.changed)
        dirty_ = true;
    if (out.hasReply && echoOther_ > 0) {
        --echoOther_;
        ++out.reply[3];
        SimDevice::sealReply(out.reply);
    }
    bool drop = false;
    if (out.hasReply && dropReplies_ > 0) {
        --dropReplies_;
        drop = true;
    }
    const bool leave = leaveAfter_ > 0 && --leaveAfter_ == 0;

    // The memory is on disk before the reply leaves, as a keyboard commits
    // its flash before it answers.
    if (dirty_) {
        lock.unlock();
        saveIfDirty();
        lock.lock();
    }
    if (out.bootMode) {
        leaveBus(lock);
        return;
    }
    if (out.hasReply && !drop) {
        if (latencyMs > 0)
            wake_.wait_until(lock, arrived + std::chrono::milliseconds(latencyMs), [&] { return !running_; });
        if (running_ && plugged_) {
            trace("->", out.reply);
            deliver(lock, Collection::Vendor, 1, SimDevice::kReportSize, out.reply.data(), 0);
        }
    }
    if (leave)
        leaveBus(lock);
}

void SimTransport::leaveBus(Lock& lock)
{
    if (!plugged_)
        return;
    plugged_ = false;
    purgeReports();
    deliver(lock, Collection::None, 0, 0, nullptr, 0);
}

// Collection::None with kind 0: every listening request, whatever its collection.
void SimTransport::deliver(Lock& lock, Collection collection, uint32_t kind, uint32_t count, const uint8_t* data,
                           uint16_t consumerCode)
{
    std::vector<uint32_t> targets;
    for (const Registration& r : registrations_) {
        if (r.listens && (collection == Collection::None || r.collection == collection))
            targets.push_back(r.handle);
    }
    for (const uint32_t handle : targets) {
        if (!running_)
            return;
        const auto found = std::find_if(registrations_.begin(), registrations_.end(),
                                        [&](const Registration& r) { return r.handle == handle; });
        if (found == registrations_.end())
            continue;  // deleted meanwhile
        const QlRequestInfo info{found->tag, count, data, consumerCode};
        const QlNotification notification{kind, &info};
        const QlCallback callback = found->callback;
        delivering_ = handle;
        lock.unlock();
        callback(&notification);
        lock.lock();
        delivering_ = 0;
        delivered_.notify_all();
    }
}

// ---------------------------------------------------------------------------
// QlSimControl.h

int32_t SimTransport::reset()
{
    std::vector<std::string> warnings;
    const SimModel model = SimModel::fromEnvironment(warnings);
    for (const std::string& line : warnings)
        warn(line);
    {
        std::lock_guard lock(mutex_);
        if (!ready_)
            return QL_ERR_NOT_READY;
        device_->factoryReset(model);
        model_ = model;
        latencyMs_ = model.latencyMs;
        startFaultScript();
        log_.clear();
        statusReport_.clear();
        featureReport_.clear();
        purgeReports();
        setPlugged(true);
        dirty_ = true;
    }
    saveIfDirty();
    return 1;
}

int32_t SimTransport::plug(bool in)
{
    std::lock_guard lock(mutex_);
    if (!ready_)
        return QL_ERR_NOT_READY;
    setPlugged(in);
    return 1;
}

int32_t SimTransport::sendConsumerCode(uint16_t code)
{
    std::lock_guard lock(mutex_);
    if (!ready_)
        return QL_ERR_NOT_READY;
    if (!plugged_)
        return QL_ERR_NO_DEVICE;
    Event event{Event::Kind::Consumer};
    event.code = code;
    queue_.push_back(event);
    wake_.notify_all();
    return 1;
}

#define SIM_CONTROL_SET(statement)                                                                                     \
    std::lock_guard lock(mutex_);                                                                                      \
    if (!ready_)                                                                                                       \
        return QL_ERR_NOT_READY;                                                                                       \
    statement;                                                                                                         \
    return 1

int32_t SimTransport::setLatency(uint32_t milliseconds)
{
    SIM_CONTROL_SET(latencyMs_ = milliseconds);
}
int32_t SimTransport::dropReplies(uint32_t n)
{
    SIM_CONTROL_SET(dropReplies_ = n);
}
int32_t SimTransport::echoOtherCommand(uint32_t n)
{
    SIM_CONTROL_SET(echoOther_ = n);
}
int32_t SimTransport::refuseWrites(int32_t n)
{
    SIM_CONTROL_SET(refuseWrites_ = n);
}
int32_t SimTransport::leaveBusAfter(uint32_t n)
{
    SIM_CONTROL_SET(leaveAfter_ = n);
}
int32_t SimTransport::runFaults(std::string_view script)
{
    std::vector<SimFaultStep> steps;
    std::string error;
    const bool ok = SimFaultScript::parse(script, steps, error);
    std::lock_guard lock(mutex_);
    if (!ready_)
        return QL_ERR_NOT_READY;
    clearFaults();
    if (ok)
        faultScript_.assign(steps.begin(), steps.end());
    return ok ? 1 : 0;
}
int32_t SimTransport::logClear()
{
    SIM_CONTROL_SET(log_.clear());
}
int32_t SimTransport::failStatus(uint8_t status, uint32_t n)
{
    SIM_CONTROL_SET((failStatus_ = status, failCount_ = n));
}
#undef SIM_CONTROL_SET

int32_t SimTransport::logCount()
{
    std::lock_guard lock(mutex_);
    return ready_ ? static_cast<int32_t>(log_.size()) : QL_ERR_NOT_READY;
}

int32_t SimTransport::logGet(uint32_t index, uint8_t* report)
{
    if (!report)
        return QL_ERR_ARGUMENT;
    std::lock_guard lock(mutex_);
    if (!ready_)
        return QL_ERR_NOT_READY;
    if (index >= log_.size())
        return QL_ERR_ARGUMENT;
    std::copy(log_[index].begin(), log_[index].end(), report);
    return 1;
}

int32_t SimTransport::areaSize(int32_t area)
{
    std::lock_guard lock(mutex_);
    if (!ready_)
        return QL_ERR_NOT_READY;
    if (!validArea(area))
        return QL_ERR_ARGUMENT;
    return static_cast<int32_t>(device_->area(static_cast<Area>(area)).size());
}

int32_t SimTransport::readArea(int32_t area, uint32_t offset, uint8_t* out, uint32_t length)
{
    if (!out && length > 0)
        return QL_ERR_ARGUMENT;
    std::lock_guard lock(mutex_);
    if (!ready_)
        return QL_ERR_NOT_READY;
    if (!validArea(area))
        return QL_ERR_ARGUMENT;
    followStateFile();
    const std::span<const uint8_t> bytes = std::as_const(*device_).area(static_cast<Area>(area));
    if (offset > bytes.size() || length > bytes.size() - offset)
        return QL_ERR_ARGUMENT;
    std::copy_n(bytes.begin() + offset, length, out);
    return 1;
}

int32_t SimTransport::writeArea(int32_t area, uint32_t offset, const uint8_t* data, uint32_t length)
{
    if (!data && length > 0)
        return QL_ERR_ARGUMENT;
    {
        std::lock_guard lock(mutex_);
        if (!ready_)
            return QL_ERR_NOT_READY;
        if (!validArea(area))
            return QL_ERR_ARGUMENT;
        const Area which = static_cast<Area>(area);
        followStateFile();
        const std::span<uint8_t> bytes = device_->area(which);
        if (offset > bytes.size() || length > bytes.size() - offset)
            return QL_ERR_ARGUMENT;
        const bool touchesProfile = which == Area::Info && offset <= 10 && 10 < offset + length;
        if (length > 0 && !std::equal(data, data + length, bytes.begin() + offset)) {
            std::copy_n(data, length, bytes.begin() + offset);
            if (persisted(which) || touchesProfile)
                dirty_ = true;
        }
    }
    saveIfDirty();
    return 1;
}

int32_t SimTransport::getStoredReport(bool feature, uint8_t* out, uint32_t capacity)
{
    if (!out && capacity > 0)
        return QL_ERR_ARGUMENT;
    std::lock_guard lock(mutex_);
    if (!ready_)
        return QL_ERR_NOT_READY;
    const std::vector<uint8_t>& report = feature ? featureReport_ : statusReport_;
    std::copy_n(report.begin(), std::min<size_t>(capacity, report.size()), out);
    return static_cast<int32_t>(report.size());
}

int32_t SimTransport::waitIdle(uint32_t timeoutMs)
{
    Lock lock(mutex_);
    if (!ready_)
        return QL_ERR_NOT_READY;
    if (onWorker())
        return QL_ERR_ARGUMENT;
    const bool drained = idle_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                        [&] { return !ready_ || (queue_.empty() && !busy_); });
    return drained ? 1 : 0;
}

int32_t SimTransport::getStatePath(char* out, uint32_t capacity)
{
    if (!out && capacity > 0)
        return QL_ERR_ARGUMENT;
    std::lock_guard lock(mutex_);
    if (!ready_)
        return QL_ERR_NOT_READY;
    if (capacity > 0) {
        const size_t n = std::min<size_t>(capacity - 1, statePath_.size());
        std::memcpy(out, statePath_.data(), n);
        out[n] = '\0';
    }
    return static_cast<int32_t>(statePath_.size());
}

}  // namespace trevolin::sim
