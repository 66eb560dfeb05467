#include "HidTransport.h"

#include "LibraryThread.h"
#include "Log.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <set>
#include <utility>

namespace ql::hid {

namespace {

// Units only asked for a count are remembered up to this many; beyond it a
// new one is looked up afresh each time, so that a caller inventing units
// cannot make every poll enumerate without end.
constexpr size_t kMaxCountOnlyUnits = 64;

bool sameDevice(const DeviceNode& node, const std::string& path, uint16_t vendorId, uint16_t productId)
{
    const auto& id = node.identity();
    return id.path == path && id.vendorId == vendorId && id.productId == productId;
}

}  // namespace

HidTransport::HidTransport(std::unique_ptr<HidBackend> backend, TransportOptions options)
    : backend_(std::move(backend))
    , options_(options)
{
}

HidTransport::~HidTransport()
{
    stop();
}

void HidTransport::start()
{
    std::lock_guard lock(pollMutex_);
    if (pollRunning_ || pollStop_)
        return;
    pollRunning_ = true;
    poller_ = std::thread([this] { pollLoop(); });
    pollerId_ = poller_.get_id();
}

void HidTransport::stop()
{
    {
        std::lock_guard lock(pollMutex_);
        pollStop_ = true;
    }
    pollWake_.notify_all();
    pollDone_.notify_all();
    if (poller_.joinable())
        poller_.join();

    std::map<std::string, std::shared_ptr<DeviceNode>> closing;
    {
        std::scoped_lock lock(refreshMutex_, state_);
        stopped_ = true;
        closing.swap(nodes_);
        denied_.clear();
    }
    for (auto& entry : closing)
        entry.second->requestStop();
    for (auto& entry : closing)
        entry.second->stop();
    registry_.clear();
}

// ---- callers ----------------------------------------------------------------

void HidTransport::watch(const UnitMatch& unit, bool forRequest)
{
    {
        std::lock_guard lock(state_);
        if (std::find(watched_.begin(), watched_.end(), unit) != watched_.end())
            return;
        if (forRequest || watched_.size() < kMaxCountOnlyUnits)
            watched_.push_back(unit);
    }
    refresh(RefreshMode::OpenOnly, {unit});
}

uint32_t HidTransport::deviceCount(const UnitMatch& unit)
{
    watch(unit, false);
    std::lock_guard lock(state_);
    return countLocked(unit);
}

std::shared_ptr<DeviceNode> HidTransport::targetOf(const UnitMatch& unit, int32_t& error)
{
    watch(unit, false);
    std::lock_guard lock(state_);
    if (stopped_) {
        error = QL_ERR_NOT_READY;
        return nullptr;
    }
    auto node = targetLocked(unit);
    if (!node)
        error = QL_ERR_NO_DEVICE;
    return node;
}

int32_t HidTransport::send(const UnitMatch& unit, ReportType type, const uint8_t* data, size_t length)
{
    int32_t error = 0;
    const std::shared_ptr<DeviceNode> node = targetOf(unit, error);
    if (!node)
        return error;
    const int sent = node->send(type, data, length);
    if (sent == DeviceNode::kClosed)
        return QL_ERR_NO_DEVICE;
    if (sent < 0) {
        Log::write(Log::kInfo, "sending to %s failed", node->identity().path.c_str());
        requestPass();  // an unplugged keyboard shows in the enumeration first
        return QL_ERR_IO;
    }
    return 1;
}

int32_t HidTransport::getFeature(const UnitMatch& unit, uint8_t* data, size_t length)
{
    int32_t error = 0;
    const std::shared_ptr<DeviceNode> node = targetOf(unit, error);
    if (!node)
        return error;
    const int got = node->getFeature(data, length);
    if (got == DeviceNode::kClosed)
        return QL_ERR_NO_DEVICE;
    if (got <= 0) {
        requestPass();
        return QL_ERR_IO;
    }
    return got;
}

int32_t HidTransport::addRead(const UnitMatch& unit, QlCallback callback, uint32_t tag, uint32_t& handle)
{
    watch(unit, true);
    auto request = std::make_shared<Request>(Request::Kind::Read, unit, callback, tag);
    std::lock_guard lock(state_);
    if (stopped_)
        return QL_ERR_NOT_READY;
    // The caller learns the present count by asking; only changes are told.
    request->announcedCount = countLocked(unit);
    handle = registry_.add(request);
    return 1;
}

int32_t HidTransport::addStatus(const UnitMatch& unit, QlCallback callback, uint32_t tag, const uint8_t* data,
                                size_t length, uint32_t& handle)
{
    watch(unit, true);
    auto request = std::make_shared<Request>(Request::Kind::Status, unit, callback, tag);
    request->status.assign(data, data + length);
    std::shared_ptr<DeviceNode> node;
    {
        std::lock_guard lock(state_);
        if (stopped_)
            return QL_ERR_NOT_READY;
        node = targetLocked(unit);
        request->statusNode = node ? node->serial() : 0;
        handle = registry_.add(request);
    }
    if (!node)
        return QL_ERR_NO_DEVICE;
    // The status collection holds indicator state, which HID carries in
    // output reports; feature reports have RequestStatusSetFeature.
    const int sent = node->send(ReportType::Output, request->status.data(), request->status.size());
    if (sent == DeviceNode::kClosed)
        return QL_ERR_NO_DEVICE;
    if (sent < 0) {
        requestPass();
        return QL_ERR_IO;
    }
    return 1;
}

bool HidTransport::remove(uint32_t handle)
{
    return registry_.remove(handle);
}

int32_t HidTransport::describeProblem(std::string& sentence) const
{
    std::lock_guard lock(state_);
    sentence.clear();
    if (denied_.empty())
        return 0;
    sentence = "permission denied on ";
    bool first = true;
    for (const auto& [path, device] : denied_) {
        char ids[16];
        std::snprintf(ids, sizeof ids, "%04x:%04x", unsigned{device.vendorId}, unsigned{device.productId});
        sentence += (first ? "" : ", ") + path + " (" + ids + ")";
        first = false;
    }
    return QL_ERR_PERMISSION;
}

void HidTransport::setDeleteWaitObserver(std::function<void()> observer)
{
    registry_.setWaitObserver(std::move(observer));
}

// ---- the reader threads -----------------------------------------------------

void HidTransport::inputReport(const DeviceNode& node, size_t collection, const uint8_t* data, size_t length)
{
    const CollectionUsage usage = node.collections()[collection];
    const auto& id = node.identity();
    QlRequestInfo info{};
    info.count = static_cast<uint32_t>(length);
    info.data = data;
    if (usage == kConsumerControl && length >= 3)
        info.consumerCode = static_cast<uint16_t>(data[1] | (data[2] << 8));
    for (const auto& request : registry_.snapshot()) {
        if (request->kind != Request::Kind::Read || !request->unit.matchesDevice(id.vendorId, id.productId) ||
            !request->unit.matchesCollection(usage))
            continue;
        info.tag = request->tag;
        registry_.invoke(request, 1, info);
    }
}

void HidTransport::nodeFailed(const DeviceNode&)
{
    requestPass();
}

// ---- the poller ---------------------------------------------------------------

void HidTransport::requestPass()
{
    {
        std::lock_guard lock(pollMutex_);
        ++passRequested_;
    }
    pollWake_.notify_all();
}

void HidTransport::pollNow()
{
    std::unique_lock lock(pollMutex_);
    if (!pollRunning_ || pollStop_ || std::this_thread::get_id() == pollerId_)
        return;
    const uint64_t pass = ++passRequested_;
    pollWake_.notify_all();
    pollDone_.wait(lock, [&] { return passCompleted_ >= pass || pollStop_; });
}

void HidTransport::pollLoop()
{
    LibraryThread::mark();
    std::unique_lock lock(pollMutex_);
    while (!pollStop_) {
        pollWake_.wait_for(lock, options_.pollInterval, [&] { return pollStop_ || passRequested_ > passStarted_; });
        if (pollStop_)
            break;
        const uint64_t pass = passRequested_;
        passStarted_ = pass;
        lock.unlock();
        try {
            std::vector<UnitMatch> units;
            {
                std::lock_guard stateLock(state_);
                units = watched_;
            }
            refresh(RefreshMode::Poll, units);
        } catch (const std::exception& e) {
            // The next pass tries again; a poller that died would never see a keyboard again.
            Log::write(Log::kError, "poll failed: %s", e.what());
        }
        lock.lock();
        passCompleted_ = pass;
        pollDone_.notify_all();
    }
}

std::shared_ptr<DeviceNode> HidTransport::openNode(const std::string& path, const Listing& listing,
                                                   const std::vector<UnitMatch>& units,
                                                   std::map<std::string, Denied>& denied)
{
    const std::vector<uint8_t> bytes = backend_->reportDescriptor(path);
    std::optional<ReportDescriptor> descriptor = ReportDescriptor::parse(bytes.data(), bytes.size());
    if (descriptor && descriptor->collections().empty())
        descriptor.reset();
    const auto& carried = descriptor ? descriptor->collections() : listing.collections;
    const bool wanted = std::any_of(units.begin(), units.end(), [&](const UnitMatch& unit) {
        return unit.matchesDevice(listing.vendorId, listing.productId) &&
               std::any_of(carried.begin(), carried.end(),
                           [&](const CollectionUsage& c) { return unit.matchesCollection(c); });
    });
    if (!wanted)
        return nullptr;

    OpenResult reader = backend_->open(path);
    OpenResult writer = reader.connection ? backend_->open(path) : OpenResult{};
    if (!reader.connection || !writer.connection) {
        const OpenError error = reader.connection ? writer.error : reader.error;
        if (error == OpenError::Permission)
            denied[path] = Denied{listing.vendorId, listing.productId};
        return nullptr;
    }
    Log::write(Log::kInfo, "opened %s (%04x:%04x)", path.c_str(), unsigned{listing.vendorId},
               unsigned{listing.productId});
    return std::make_shared<DeviceNode>(nextSerial_++, DeviceNode::Identity{path, listing.vendorId, listing.productId},
                                        std::move(descriptor), listing.collections, std::move(reader.connection),
                                        std::move(writer.connection));
}

void HidTransport::refresh(RefreshMode mode, const std::vector<UnitMatch>& units)
{
    std::vector<std::shared_ptr<DeviceNode>> closing;
    std::vector<CountNotice> notices;
    std::vector<StatusSend> sends;
    {
        std::lock_guard refreshLock(refreshMutex_);

        std::map<std::string, std::shared_ptr<DeviceNode>> open;
        {
            std::lock_guard lock(state_);
            if (stopped_)
                return;
            open = nodes_;
        }

        std::set<std::pair<uint16_t, uint16_t>> devices;
        for (const auto& unit : units)
            devices.emplace(unit.vendorId(), unit.productId());
        std::map<std::string, Listing> listed;
        for (const auto& [vendorId, productId] : devices) {
            for (const DeviceEntry& entry : backend_->enumerate(vendorId, productId)) {
                if (entry.vendorId != vendorId || entry.productId != productId || entry.path.empty())
                    continue;
                Listing& listing = listed[entry.path];
                listing.vendorId = entry.vendorId;
                listing.productId = entry.productId;
                if (std::find(listing.collections.begin(), listing.collections.end(), entry.collection) ==
                    listing.collections.end())
                    listing.collections.push_back(entry.collection);
            }
        }

        std::map<std::string, Denied> denied;
        std::vector<std::shared_ptr<DeviceNode>> opened;
        for (const auto& [path, listing] : listed) {
            const auto current = open.find(path);
            if (current != open.end() && !current->second->failed() &&
                sameDevice(*current->second, path, listing.vendorId, listing.productId))
                continue;
            if (auto node = openNode(path, listing, units, denied))
                opened.push_back(std::move(node));
        }

        std::lock_guard lock(state_);
        if (stopped_) {
            closing = std::move(opened);
        } else {
            if (mode == RefreshMode::Poll) {
                for (auto it = nodes_.begin(); it != nodes_.end();) {
                    const auto found = listed.find(it->first);
                    if (it->second->failed() || found == listed.end() ||
                        !sameDevice(*it->second, it->first, found->second.vendorId, found->second.productId)) {
                        closing.push_back(it->second);
                        it = nodes_.erase(it);
                    } else {
                        ++it;
                    }
                }
                denied_ = std::move(denied);
            } else {
                denied_.merge(denied);
            }
            for (auto& node : opened) {
                auto& slot = nodes_[node->identity().path];
                if (slot && !slot->failed()) {
                    closing.push_back(node);  // a refresh on another thread opened it first
                    continue;
                }
                if (slot)
                    closing.push_back(slot);
                node->start(*this, options_.readTimeoutMs);
                slot = node;
                denied_.erase(node->identity().path);
            }
            if (mode == RefreshMode::Poll)
                collectChangesLocked(notices, sends);
        }
    }

    for (auto& node : closing)
        node->requestStop();
    for (auto& node : closing)
        node->stop();
    for (const auto& notice : notices) {
        QlRequestInfo info{};
        info.tag = notice.request->tag;
        info.count = notice.count;
        registry_.invoke(notice.request, 0, info);
    }
    for (const auto& send : sends) {
        const int sent = send.node->send(ReportType::Output, send.request->status.data(), send.request->status.size());
        if (sent < 0)
            Log::write(Log::kInfo, "sending the kept status report to %s failed", send.node->identity().path.c_str());
    }
}

// ---- state_ held --------------------------------------------------------------

uint32_t HidTransport::countLocked(const UnitMatch& unit) const
{
    uint32_t count = 0;
    for (const auto& entry : nodes_)
        if (!entry.second->failed() && entry.second->carries(unit))
            ++count;
    return count;
}

std::shared_ptr<DeviceNode> HidTransport::targetLocked(const UnitMatch& unit) const
{
    for (const auto& entry : nodes_)
        if (!entry.second->failed() && entry.second->carries(unit))
            return entry.second;
    return nullptr;
}

void HidTransport::collectChangesLocked(std::vector<CountNotice>& notices, std::vector<StatusSend>& sends)
{
    for (const auto& request : registry_.snapshot()) {
        if (request->kind == Request::Kind::Read) {
            const uint32_t count = countLocked(request->unit);
            if (count != request->announcedCount) {
                request->announcedCount = count;
                notices.push_back(CountNotice{request, count});
            }
        } else {
            auto node = targetLocked(request->unit);
            const uint64_t serial = node ? node->serial() : 0;
            if (serial != request->statusNode) {
                request->statusNode = serial;
                if (node)
                    sends.push_back(StatusSend{request, std::move(node)});
            }
        }
    }
}

}  // namespace ql::hid
