#include "HidTransport.h"

#include "LibraryThread.h"
#include "Log.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <set>

namespace ql::hid {

namespace {

// Units only asked for a count are remembered up to this many; beyond it a
// new one is looked up afresh each time, so that a caller inventing units
// cannot make the library watch without end.
constexpr size_t kMaxCountOnlyUnits = 64;

// A node whose channel fails sooner than this after opening is not opened
// again at once, but after a back-off that doubles up to the last step.
constexpr auto kQuickFailure = std::chrono::seconds(2);
constexpr auto kFirstBackoff = std::chrono::seconds(1);
constexpr int kMaxBackoffSteps = 6;  // 1, 2, 4 ... 32 seconds

// Without a hotplug monitor nobody says when a keyboard arrives.
constexpr int kRescanWithoutMonitorMs = 2000;

std::string hex(CollectionUsage usage)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", unsigned{usage.usagePage}, unsigned{usage.usage});
    return text;
}

// "ff1c:0092 (input 4: 64 bytes, output 4: 64 bytes)", one entry per collection.
std::string describe(const ReportDescriptor& descriptor)
{
    static const char* const kTypes[] = {"input", "output", "feature"};
    const auto reports = descriptor.reports();
    std::string text;
    for (size_t c = 0; c < descriptor.collections().size(); ++c) {
        text += (c ? "; " : "") + hex(descriptor.collections()[c]) + " (";
        bool first = true;
        for (const auto& report : reports) {
            if (report.collection != static_cast<int>(c))
                continue;
            char item[48];
            std::snprintf(item, sizeof item, "%s%s %u: %zu bytes", first ? "" : ", ",
                          kTypes[static_cast<size_t>(report.type)], unsigned{report.id}, report.length);
            text += item;
            first = false;
        }
        text += first ? "no reports)" : ")";
    }
    return text;
}

bool wantedBy(const std::vector<UnitMatch>& units, uint16_t vendorId, uint16_t productId, CollectionUsage usage)
{
    return std::any_of(units.begin(), units.end(), [&](const UnitMatch& unit) {
        return unit.matchesDevice(vendorId, productId) && unit.matchesCollection(usage);
    });
}

}  // namespace

HidTransport::HidTransport(std::unique_ptr<HidBackend> backend, TransportOptions options)
    : backend_(std::move(backend)),
      options_(std::move(options))
{
}

HidTransport::~HidTransport()
{
    stop();
}

bool HidTransport::start()
{
    if (!wake_.valid())
        return false;
    std::lock_guard lock(passMutex_);
    if (running_ || stopping_)
        return true;
    running_ = true;
    hotplug_ = std::thread([this] { hotplugLoop(); });
    hotplugId_ = hotplug_.get_id();
    return true;
}

void HidTransport::stop()
{
    {
        std::lock_guard lock(passMutex_);
        stopping_ = true;
    }
    wake_.signal();
    passDone_.notify_all();
    if (hotplug_.joinable())
        hotplug_.join();

    std::vector<std::shared_ptr<Channel>> closing;
    {
        std::scoped_lock lock(refreshMutex_, state_);
        stopped_ = true;
        closing.swap(channels_);
        problems_.clear();
        nodes_.clear();
        active_.clear();
    }
    for (auto& channel : closing)
        channel->requestStop();
    for (auto& channel : closing)
        channel->stop();
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
    // Remembered or not, the unit is looked up at once, so that the answer
    // to this very call knows of a keyboard that is already there.
    refresh(true, {}, false, unit);
    // The hotplug thread tells the requests what this refresh changed.
    requestPass(false);
}

uint32_t HidTransport::deviceCount(const UnitMatch& unit)
{
    watch(unit, false);
    std::lock_guard lock(state_);
    return presenceLocked(unit).first;
}

std::shared_ptr<Channel> HidTransport::targetOf(const UnitMatch& unit, int32_t& error)
{
    watch(unit, false);
    std::lock_guard lock(state_);
    if (stopped_) {
        error = QL_ERR_NOT_READY;
        return nullptr;
    }
    auto channel = targetLocked(unit);
    if (!channel)
        error = QL_ERR_NO_DEVICE;
    return channel;
}

int32_t HidTransport::sendResult(const Channel& channel, int sent)
{
    switch (sent) {
    case Channel::kClosed:
        return QL_ERR_NO_DEVICE;
    case Channel::kTooShort:
        // hidraw refuses it (EINVAL) and nothing is wrong with the keyboard.
        Log::write(Log::kInfo, "a report with nothing after its id cannot go to %s", channel.identity().path.c_str());
        return QL_ERR_ARGUMENT;
    default:
        break;
    }
    if (sent < 0) {
        // A keyboard that is gone says so through its hangup and udev; nothing to look up here.
        Log::write(Log::kInfo, "sending to %s failed", channel.identity().path.c_str());
        return QL_ERR_IO;
    }
    return 1;
}

int32_t HidTransport::send(const UnitMatch& unit, ReportType type, const uint8_t* data, size_t length)
{
    int32_t error = 0;
    const std::shared_ptr<Channel> channel = targetOf(unit, error);
    if (!channel)
        return error;
    return sendResult(*channel, channel->send(type, data, length, *this));
}

int32_t HidTransport::getFeature(const UnitMatch& unit, uint8_t* data, size_t length)
{
    int32_t error = 0;
    const std::shared_ptr<Channel> channel = targetOf(unit, error);
    if (!channel)
        return error;
    const int got = channel->getFeature(data, length, *this);
    if (got == 0)
        return QL_ERR_IO;
    return got > 0 ? got : sendResult(*channel, got);
}

int32_t HidTransport::addRead(const UnitMatch& unit, QlCallback callback, uint32_t tag, uint32_t& handle)
{
    watch(unit, true);
    auto request = std::make_shared<Request>(Request::Kind::Read, unit, callback, tag);
    std::lock_guard lock(state_);
    if (stopped_)
        return QL_ERR_NOT_READY;
    // The caller learns the present count by asking; only changes are told.
    const auto [count, keyboard] = presenceLocked(unit);
    request->announcedCount = count;
    request->announcedKeyboard = keyboard;
    handle = registry_.add(request);
    return 1;
}

int32_t HidTransport::addStatus(const UnitMatch& unit, QlCallback callback, uint32_t tag, const uint8_t* data,
                                size_t length, uint32_t& handle)
{
    watch(unit, true);
    auto request = std::make_shared<Request>(Request::Kind::Status, unit, callback, tag);
    request->status.assign(data, data + length);
    std::shared_ptr<Channel> channel;
    {
        std::lock_guard lock(state_);
        if (stopped_)
            return QL_ERR_NOT_READY;
        channel = targetLocked(unit);
        request->statusNode = channel ? channel->serial() : 0;
        handle = registry_.add(request);
    }
    if (!channel)
        return QL_ERR_NO_DEVICE;
    const auto& status = request->status;
    return sendResult(*channel, channel->send(channel->statusType(status[0]), status.data(), status.size(), *this));
}

bool HidTransport::remove(uint32_t handle)
{
    return registry_.remove(handle);
}

int32_t HidTransport::describeProblem(std::string& sentence) const
{
    std::lock_guard lock(state_);
    sentence.clear();
    int32_t code = 0;
    for (const bool permission : {true, false}) {
        bool first = true;
        for (const auto& [path, problem] : problems_) {
            if (problem.permission != permission)
                continue;
            if (first)
                sentence += sentence.empty() ? "" : "; ";
            if (first)
                sentence += permission ? "permission denied on " : "cannot read the report descriptor of ";
            char ids[16];
            std::snprintf(ids, sizeof ids, "%04x:%04x", unsigned{problem.vendorId}, unsigned{problem.productId});
            sentence += (first ? "" : ", ") + path + " (" + ids + ")";
            first = false;
            if (code == 0)
                code = permission ? QL_ERR_PERMISSION : QL_ERR_IO;
        }
    }
    return code;
}

void HidTransport::setDeleteWaitObserver(std::function<void()> observer)
{
    registry_.setWaitObserver(std::move(observer));
}

// ---- the reader threads -----------------------------------------------------

void HidTransport::inputReport(const Channel& channel, const uint8_t* data, size_t length)
{
    const CollectionUsage usage = channel.collection();
    const auto& id = channel.identity();
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

void HidTransport::channelFailed(const Channel&)
{
    requestPass(false);
}

// ---- the hotplug thread -------------------------------------------------------

void HidTransport::requestPass(bool enumerate)
{
    {
        std::lock_guard lock(passMutex_);
        ++passRequested_;
        enumerateRequested_ = enumerateRequested_ || enumerate;
    }
    wake_.signal();
}

void HidTransport::pollNow()
{
    std::unique_lock lock(passMutex_);
    if (!running_ || stopping_ || std::this_thread::get_id() == hotplugId_)
        return;
    const uint64_t pass = ++passRequested_;
    enumerateRequested_ = true;
    wake_.signal();
    passDone_.wait(lock, [&] { return passCompleted_ >= pass || stopping_; });
}

int HidTransport::timeoutMs()
{
    int timeout = backend_->hotplugFd() < 0 ? kRescanWithoutMonitorMs : -1;
    std::lock_guard lock(refreshMutex_);
    const Clock::time_point now = options_.now();
    for (const auto& [path, backoff] : backoff_) {
        if (backoff.retryAt <= now || !nodes_.count(path))
            continue;
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(backoff.retryAt - now).count();
        const int ms = static_cast<int>(std::min<long long>(wait, 60'000));
        timeout = timeout < 0 ? ms : std::min(timeout, ms);
    }
    return timeout;
}

void HidTransport::hotplugLoop()
{
    LibraryThread::mark();
    for (;;) {
        const int hotplug = backend_->hotplugFd();
        pollfd fds[2] = {{wake_.fd(), POLLIN, 0}, {hotplug, POLLIN, 0}};
        const int ready = backend_->poll(fds, hotplug >= 0 ? 2 : 1, timeoutMs());
        if (ready < 0) {
            // A signal (SIGCHLD of a program the caller started, say) is no news of the keyboard.
            if (errno != EINTR)
                Log::write(Log::kError, "hotplug poll failed: %s", std::strerror(errno));
            continue;
        }
        if (fds[0].revents != 0)
            wake_.clear();
        uint64_t pass = 0;
        bool enumerate = ready == 0;  // a back-off ran out, or there is no monitor
        {
            std::lock_guard lock(passMutex_);
            if (stopping_)
                break;
            pass = passRequested_;
            enumerate = enumerate || enumerateRequested_;
            enumerateRequested_ = false;
        }
        // Read whether or not poll() said so: what udev announced before
        // this pass was asked for belongs to it.
        std::vector<std::string> removed;
        if (hotplug >= 0) {
            for (const HotplugEvent& event : backend_->readHotplug()) {
                if (event.action == HotplugEvent::Action::Removed)
                    removed.push_back(event.path);
                else
                    enumerate = true;
            }
        }
        try {
            refresh(enumerate, removed, true);
            announce();
        } catch (const std::exception& e) {
            // The next event tries again; a hotplug thread that died would never see a keyboard again.
            Log::write(Log::kError, "hotplug pass failed: %s", e.what());
        }
        {
            std::lock_guard lock(passMutex_);
            passCompleted_ = pass;
        }
        passDone_.notify_all();
    }
}

void HidTransport::learn(const std::vector<DeviceEntry>& listed, const std::vector<UnitMatch>& units,
                         std::vector<std::string>& replaced)
{
    for (const DeviceEntry& entry : listed) {
        const bool asked = std::any_of(units.begin(), units.end(), [&](const UnitMatch& unit) {
            return unit.matchesDevice(entry.vendorId, entry.productId);
        });
        if (!asked || entry.path.empty())
            continue;
        const auto known = nodes_.find(entry.path);
        if (known != nodes_.end() && known->second.entry == entry)
            continue;
        if (known != nodes_.end())
            replaced.push_back(entry.path);  // another device behind the same node: the old one left unseen

        const std::vector<uint8_t> bytes = backend_->reportDescriptor(entry.path);
        std::shared_ptr<const ReportDescriptor> descriptor;
        if (auto parsed = ReportDescriptor::parse(bytes.data(), bytes.size()); parsed && !parsed->collections().empty())
            descriptor = std::make_shared<const ReportDescriptor>(std::move(*parsed));
        if (descriptor)
            Log::write(Log::kInfo, "%s (%04x:%04x, %s): %s", entry.path.c_str(), unsigned{entry.vendorId},
                       unsigned{entry.productId}, entry.deviceKey.c_str(), describe(*descriptor).c_str());
        else
            // Without it nothing tells which collection a report belongs to, or
            // whether the node carries the ones asked for: it is not used.
            Log::write(Log::kError, "%s (%04x:%04x): the report descriptor (%zu bytes) cannot be read; not used",
                       entry.path.c_str(), unsigned{entry.vendorId}, unsigned{entry.productId}, bytes.size());
        nodes_[entry.path] = Node{entry, std::move(descriptor)};
    }
}

void HidTransport::backOff(const std::string& path, Clock::time_point now)
{
    Backoff& backoff = backoff_[path];
    backoff.failures = std::min(backoff.failures + 1, kMaxBackoffSteps);
    backoff.retryAt = now + kFirstBackoff * (1 << (backoff.failures - 1));
    Log::write(Log::kInfo, "%s failed at once; not opened again for %d s", path.c_str(), 1 << (backoff.failures - 1));
}

void HidTransport::refresh(bool enumerate, const std::vector<std::string>& removed, bool fromHotplug,
                           const std::optional<UnitMatch>& asked)
{
    std::vector<std::shared_ptr<Channel>> closing;
    {
        std::lock_guard refreshLock(refreshMutex_);
        std::vector<UnitMatch> units;
        std::vector<std::shared_ptr<Channel>> open;
        {
            std::lock_guard lock(state_);
            if (stopped_)
                return;
            units = watched_;
            open = channels_;
        }
        if (asked)
            units.push_back(*asked);  // a unit asked about once too often to be remembered
        const Clock::time_point now = options_.now();
        // Read once: a channel that fails during this pass is left to the next.
        std::vector<Channel::Failure> failures;
        for (const auto& channel : open)
            failures.push_back(channel->failure());

        // What went: udev's removals, hangups, and descriptors that kept failing.
        std::set<std::string> gone(removed.begin(), removed.end());
        for (const std::string& path : removed)
            backoff_.erase(path);  // truly unplugged: the next device there is opened at once
        if (fromHotplug) {
            for (size_t i = 0; i < open.size(); ++i) {
                const Channel::Failure failure = failures[i];
                const auto& channel = open[i];
                const std::string& path = channel->identity().path;
                if (failure == Channel::Failure::None ||
                    std::find(removed.begin(), removed.end(), path) != removed.end())
                    continue;
                if (now - channel->openedAt() < kQuickFailure)
                    backOff(path, now);
                else
                    backoff_.erase(path);
                if (failure == Channel::Failure::Gone)
                    gone.insert(path);
            }
        }
        for (const std::string& path : gone) {
            if (nodes_.erase(path))
                Log::write(Log::kInfo, "%s is gone", path.c_str());
        }

        // What came. An enumeration only adds: a listing that failed or came
        // back empty is no proof that an open keyboard left.
        std::vector<std::string> replaced;
        if (enumerate) {
            if (const auto listed = backend_->enumerate())
                learn(*listed, units, replaced);
            else
                Log::write(Log::kInfo, "the hidraw enumeration failed; nothing changed");
        }

        std::vector<std::shared_ptr<Channel>> kept;
        for (size_t i = 0; i < open.size(); ++i) {
            const std::string& path = open[i]->identity().path;
            const bool drop = fromHotplug && (failures[i] != Channel::Failure::None || gone.count(path) != 0 ||
                                              std::find(replaced.begin(), replaced.end(), path) != replaced.end());
            (drop ? closing : kept).push_back(open[i]);
        }
        // A channel kept here counts as open even if it fails meanwhile: its
        // failure asks for another pass, which closes it and decides then
        // (after a back-off, if it failed at once) whether to open it again.
        auto isOpen = [&](const std::string& path, size_t collection) {
            return std::any_of(kept.begin(), kept.end(), [&](const std::shared_ptr<Channel>& c) {
                return c->identity().path == path && c->collectionIndex() == collection;
            });
        };

        // One keyboard per product: the one in use while it has a channel
        // left, else the first (by its device's path) on which something opens.
        std::map<std::string, Problem> problems;
        std::vector<std::shared_ptr<Channel>> opened;
        std::set<Product> products;
        for (const auto& unit : units)
            products.emplace(unit.vendorId(), unit.productId());
        for (const Product& product : products) {
            std::vector<std::string> keys;
            for (const auto& [path, node] : nodes_)
                if (Product{node.entry.vendorId, node.entry.productId} == product)
                    keys.push_back(node.entry.deviceKey);
            std::sort(keys.begin(), keys.end());
            keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
            const auto current = active_.find(product);
            if (current != active_.end()) {
                const auto at = std::find(keys.begin(), keys.end(), current->second.deviceKey);
                if (at != keys.end())
                    std::rotate(keys.begin(), at, at + 1);
            }

            bool chosen = false;
            for (const std::string& key : keys) {
                const bool inUse = current != active_.end() && current->second.deviceKey == key;
                uint64_t serial = inUse ? current->second.serial : 0;
                bool any = std::any_of(kept.begin(), kept.end(), [&](const std::shared_ptr<Channel>& c) {
                    return c->identity().deviceKey == key;
                });
                if (!any)
                    serial = 0;  // nothing left of it: whatever opens now is a new arrival
                for (auto it = nodes_.begin(); it != nodes_.end();) {
                    const auto& [path, node] = *it;
                    const DeviceEntry& entry = node.entry;
                    if (entry.deviceKey != key || Product{entry.vendorId, entry.productId} != product) {
                        ++it;
                        continue;
                    }
                    if (!node.descriptor) {
                        problems[path] = Problem{false, entry.vendorId, entry.productId};
                        ++it;
                        continue;
                    }
                    const auto backoff = backoff_.find(path);
                    bool nodeGone = false;
                    for (size_t c = 0; c < node.descriptor->collections().size(); ++c) {
                        const CollectionUsage usage = node.descriptor->collections()[c];
                        if (!wantedBy(units, entry.vendorId, entry.productId, usage) || isOpen(path, c))
                            continue;
                        if (backoff != backoff_.end() && backoff->second.retryAt > now)
                            break;
                        OpenResult result = backend_->open(path);
                        if (!result.connection) {
                            if (result.error == OpenError::Permission)
                                problems[path] = Problem{true, entry.vendorId, entry.productId};
                            else if (result.error == OpenError::Gone)
                                nodeGone = true;
                            else
                                backOff(path, now);
                            break;
                        }
                        if (serial == 0)
                            serial = nextSerial_++;
                        auto channel = std::make_shared<Channel>(
                            nextSerial_++, serial, Channel::Identity{path, key, entry.vendorId, entry.productId},
                            node.descriptor, c, std::move(result.connection), now);
                        Log::write(Log::kInfo, "collection %s of %04x:%04x goes to %s", hex(usage).c_str(),
                                   unsigned{entry.vendorId}, unsigned{entry.productId}, path.c_str());
                        opened.push_back(channel);
                        kept.push_back(std::move(channel));
                        any = true;
                    }
                    it = nodeGone ? nodes_.erase(it) : std::next(it);
                }
                if (any) {
                    if (!inUse)
                        Log::write(Log::kInfo, "keyboard %04x:%04x in use: %s", unsigned{product.first},
                                   unsigned{product.second}, key.c_str());
                    active_[product] = Active{key, serial};
                    chosen = true;
                    break;
                }
            }
            if (!chosen)
                active_.erase(product);
        }

        std::lock_guard lock(state_);
        if (stopped_) {
            closing.insert(closing.end(), opened.begin(), opened.end());
        } else {
            for (auto& channel : opened) {
                if (!channel->start(*this, *backend_)) {
                    Log::write(Log::kError, "%s: no reader thread", channel->identity().path.c_str());
                    closing.push_back(channel);
                    kept.erase(std::find(kept.begin(), kept.end(), channel));
                }
            }
            channels_ = std::move(kept);
            problems_ = std::move(problems);
        }
    }

    for (auto& channel : closing)
        channel->requestStop();
    for (auto& channel : closing)
        channel->stop();
}

void HidTransport::announce()
{
    std::vector<CountNotice> notices;
    std::vector<StatusSend> sends;
    {
        std::lock_guard lock(state_);
        if (stopped_)
            return;
        collectChangesLocked(notices, sends);
    }
    for (const auto& notice : notices) {
        QlRequestInfo info{};
        info.tag = notice.request->tag;
        info.count = notice.count;
        registry_.invoke(notice.request, 0, info);
    }
    for (const auto& send : sends) {
        const auto& status = send.request->status;
        const int sent = send.channel->send(send.channel->statusType(status[0]), status.data(), status.size(), *this);
        if (sent < 0)
            Log::write(Log::kInfo, "sending the kept status report to %s failed",
                       send.channel->identity().path.c_str());
    }
}

// ---- state_ held --------------------------------------------------------------

std::pair<uint32_t, uint64_t> HidTransport::presenceLocked(const UnitMatch& unit) const
{
    if (auto channel = targetLocked(unit))
        return {1, channel->keyboard()};
    return {0, 0};
}

std::shared_ptr<Channel> HidTransport::targetLocked(const UnitMatch& unit) const
{
    for (const auto& channel : channels_)
        if (channel->failure() == Channel::Failure::None && channel->carries(unit))
            return channel;
    return nullptr;
}

void HidTransport::collectChangesLocked(std::vector<CountNotice>& notices, std::vector<StatusSend>& sends)
{
    for (const auto& request : registry_.snapshot()) {
        if (request->kind == Request::Kind::Read) {
            const auto [count, keyboard] = presenceLocked(request->unit);
            const uint32_t before = request->announcedCount;
            if (count == before && keyboard == request->announcedKeyboard)
                continue;
            // Another keyboard took over: the program hears of the loss, then of the arrival.
            if (before != 0 && count != 0)
                notices.push_back(CountNotice{request, 0});
            notices.push_back(CountNotice{request, count});
            request->announcedCount = count;
            request->announcedKeyboard = keyboard;
        } else {
            auto channel = targetLocked(request->unit);
            const uint64_t serial = channel ? channel->serial() : 0;
            if (serial != request->statusNode) {
                request->statusNode = serial;
                if (channel)
                    sends.push_back(StatusSend{request, std::move(channel)});
            }
        }
    }
}

}  // namespace ql::hid
