#include "FakeDeviceSet.h"

#include "FakeConnection.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>

#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ql::hid::test {

namespace {

constexpr int kInterruptSignal = SIGUSR1;

void ignoreSignal(int)
{
}

void installInterruptHandler()
{
    static const bool installed = [] {
        struct sigaction action {};
        action.sa_handler = &ignoreSignal;
        sigemptyset(&action.sa_mask);
        sigaction(kInterruptSignal, &action, nullptr);
        return true;
    }();
    (void)installed;
}

}  // namespace

FakeDeviceSet::FakeDeviceSet() : hotplugFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    installInterruptHandler();
}

FakeDeviceSet::~FakeDeviceSet()
{
    for (auto& entry : handles_)
        if (entry.second.deviceEnd >= 0)
            ::close(entry.second.deviceEnd);
    ::close(hotplugFd_);
}

void FakeDeviceSet::announceLocked(HotplugEvent::Action action, const std::string& path)
{
    events_.push_back(HotplugEvent{action, path});
    const uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(hotplugFd_, &one, sizeof one);
}

void FakeDeviceSet::hangUpLocked(const std::string& path)
{
    for (auto& entry : handles_) {
        if (entry.second.path == path && entry.second.deviceEnd >= 0) {
            ::close(entry.second.deviceEnd);
            entry.second.deviceEnd = -1;
        }
    }
}

void FakeDeviceSet::plug(FakeDevice device)
{
    std::lock_guard lock(mutex_);
    const std::string path = device.path;
    devices_[path] = std::move(device);
    announceLocked(HotplugEvent::Action::Added, path);
}

void FakeDeviceSet::unplug(const std::string& path)
{
    std::lock_guard lock(mutex_);
    devices_.erase(path);
    // udev's word comes first here, so that a test sees one order; the
    // library must not count on it.
    announceLocked(HotplugEvent::Action::Removed, path);
    hangUpLocked(path);
}

void FakeDeviceSet::hangUp(const std::string& path)
{
    std::lock_guard lock(mutex_);
    hangUpLocked(path);
}

void FakeDeviceSet::setOpenError(const std::string& path, OpenError error)
{
    std::lock_guard lock(mutex_);
    devices_.at(path).openError = error;
}

void FakeDeviceSet::inject(const std::string& path, std::vector<uint8_t> report)
{
    std::lock_guard lock(mutex_);
    for (auto& entry : handles_)
        if (entry.second.path == path && entry.second.deviceEnd >= 0)
            ::send(entry.second.deviceEnd, report.data(), report.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
}

void FakeDeviceSet::setFeatureReply(std::vector<uint8_t> reply)
{
    std::lock_guard lock(mutex_);
    featureReply_ = std::move(reply);
}

void FakeDeviceSet::setWriteHook(std::function<void(const std::string&)> hook)
{
    std::lock_guard lock(mutex_);
    writeHook_ = std::move(hook);
}

void FakeDeviceSet::setListing(Listing listing)
{
    std::lock_guard lock(mutex_);
    listing_ = listing;
}

std::vector<SentReport> FakeDeviceSet::sent() const
{
    std::lock_guard lock(mutex_);
    return sent_;
}

int FakeDeviceSet::openHandles(const std::string& path) const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(
        std::count_if(handles_.begin(), handles_.end(), [&](const auto& entry) { return entry.second.path == path; }));
}

int FakeDeviceSet::openHandles() const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(handles_.size());
}

int FakeDeviceSet::enumerations() const
{
    std::lock_guard lock(mutex_);
    return enumerations_;
}

bool FakeDeviceSet::interruptPolls(size_t threads)
{
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, std::chrono::minutes(2), [&] { return inPoll_.size() >= threads; }))
        return false;
    const size_t target = interrupted_ + inPoll_.size();
    // They cannot leave poll() for good without this lock, so each is still there to signal.
    for (const pthread_t thread : inPoll_)
        pthread_kill(thread, kInterruptSignal);
    return changed_.wait_for(lock, std::chrono::minutes(2), [&] { return interrupted_ >= target; });
}

std::optional<std::vector<DeviceEntry>> FakeDeviceSet::enumerate()
{
    std::lock_guard lock(mutex_);
    ++enumerations_;
    if (listing_ == Listing::Fails)
        return std::nullopt;
    std::vector<DeviceEntry> entries;
    if (listing_ == Listing::Empty)
        return entries;
    for (const auto& [path, device] : devices_)
        entries.push_back(DeviceEntry{path, device.device, device.vendorId, device.productId});
    return entries;
}

OpenResult FakeDeviceSet::open(const std::string& path)
{
    std::lock_guard lock(mutex_);
    const auto found = devices_.find(path);
    if (found == devices_.end())
        return OpenResult{nullptr, OpenError::Gone};
    if (found->second.openError != OpenError::None)
        return OpenResult{nullptr, found->second.openError};
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0)
        return OpenResult{nullptr, OpenError::Failed};
    const int handle = nextHandle_++;
    handles_[handle] = Handle{path, ends[1]};
    return OpenResult{std::make_unique<FakeConnection>(shared_from_this(), handle, ends[0]), OpenError::None};
}

std::vector<uint8_t> FakeDeviceSet::descriptor(const std::string& path) const
{
    std::lock_guard lock(mutex_);
    const auto found = devices_.find(path);
    return found == devices_.end() ? std::vector<uint8_t>{} : found->second.descriptor;
}

std::vector<HotplugEvent> FakeDeviceSet::readHotplug()
{
    std::lock_guard lock(mutex_);
    uint64_t count = 0;
    [[maybe_unused]] const auto got = ::read(hotplugFd_, &count, sizeof count);
    std::vector<HotplugEvent> events(events_.begin(), events_.end());
    events_.clear();
    return events;
}

int FakeDeviceSet::poll(pollfd* fds, nfds_t count, int timeoutMs)
{
    // The signal stays blocked but inside ppoll(): one sent while the thread
    // is elsewhere waits there, so each signal makes exactly one EINTR.
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, kInterruptSignal);
    sigset_t during;
    pthread_sigmask(SIG_BLOCK, &blocked, &during);
    sigdelset(&during, kInterruptSignal);
    const pthread_t self = pthread_self();
    {
        std::lock_guard lock(mutex_);
        inPoll_.insert(self);
    }
    changed_.notify_all();
    timespec timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1'000'000L};
    const int ready = ::ppoll(fds, count, timeoutMs < 0 ? nullptr : &timeout, &during);
    const int error = errno;
    {
        std::lock_guard lock(mutex_);
        inPoll_.erase(self);
        if (ready < 0 && error == EINTR)
            ++interrupted_;
    }
    changed_.notify_all();
    errno = error;
    return ready;
}

int FakeDeviceSet::send(int handle, ReportType type, const uint8_t* data, size_t length)
{
    std::function<void(const std::string&)> hook;
    std::string path;
    {
        std::lock_guard lock(mutex_);
        hook = writeHook_;
        path = handles_.at(handle).path;
    }
    if (hook)
        hook(path);
    std::lock_guard lock(mutex_);
    if (handles_.at(handle).deviceEnd < 0)
        return HidConnection::kGone;
    if (length < 2)
        return HidConnection::kFailed;  // hidraw's EINVAL
    sent_.push_back(SentReport{path, type, std::vector<uint8_t>(data, data + length)});
    return static_cast<int>(length);
}

int FakeDeviceSet::getFeature(int handle, uint8_t* buffer, size_t length)
{
    std::lock_guard lock(mutex_);
    if (handles_.at(handle).deviceEnd < 0)
        return HidConnection::kGone;
    if (featureReply_.empty())
        return HidConnection::kFailed;
    const size_t n = std::min(length, featureReply_.size());
    std::memcpy(buffer, featureReply_.data(), n);
    return static_cast<int>(n);
}

void FakeDeviceSet::close(int handle)
{
    std::lock_guard lock(mutex_);
    const auto found = handles_.find(handle);
    if (found == handles_.end())
        return;
    if (found->second.deviceEnd >= 0)
        ::close(found->second.deviceEnd);
    handles_.erase(found);
}

}  // namespace ql::hid::test
