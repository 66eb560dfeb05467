#include "FakeDeviceSet.h"

#include "FakeConnection.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace ql::hid::test {

void FakeDeviceSet::plug(FakeDevice device)
{
    std::lock_guard lock(mutex_);
    const std::string path = device.path;
    devices_[path] = std::move(device);
}

void FakeDeviceSet::unplug(const std::string& path)
{
    {
        std::lock_guard lock(mutex_);
        devices_.erase(path);
        for (auto& entry : handles_)
            if (entry.second.path == path)
                entry.second.dead = true;
    }
    changed_.notify_all();
}

void FakeDeviceSet::setOpenError(const std::string& path, OpenError error)
{
    std::lock_guard lock(mutex_);
    devices_.at(path).openError = error;
}

void FakeDeviceSet::inject(const std::string& path, std::vector<uint8_t> report)
{
    {
        std::lock_guard lock(mutex_);
        for (auto& entry : handles_)
            if (entry.second.path == path && !entry.second.dead)
                entry.second.input.push_back(report);
    }
    changed_.notify_all();
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

std::vector<SentReport> FakeDeviceSet::sent() const
{
    std::lock_guard lock(mutex_);
    return sent_;
}

int FakeDeviceSet::openHandles(const std::string& path) const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(handles_.begin(), handles_.end(),
                                          [&](const auto& entry) { return entry.second.path == path; }));
}

int FakeDeviceSet::openHandles() const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(handles_.size());
}

std::vector<DeviceEntry> FakeDeviceSet::enumerate(uint16_t vendorId, uint16_t productId) const
{
    std::vector<DeviceEntry> entries;
    std::lock_guard lock(mutex_);
    for (const auto& [path, device] : devices_) {
        if (device.vendorId != vendorId || device.productId != productId)
            continue;
        for (const CollectionUsage& collection : device.listed)
            entries.push_back(DeviceEntry{path, device.vendorId, device.productId, collection});
    }
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
    const int handle = nextHandle_++;
    handles_[handle].path = path;
    return OpenResult{std::make_unique<FakeConnection>(shared_from_this(), handle), OpenError::None};
}

std::vector<uint8_t> FakeDeviceSet::descriptor(const std::string& path) const
{
    std::lock_guard lock(mutex_);
    const auto found = devices_.find(path);
    return found == devices_.end() ? std::vector<uint8_t>{} : found->second.descriptor;
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
    if (handles_.at(handle).dead)
        return -1;
    sent_.push_back(SentReport{path, type, std::vector<uint8_t>(data, data + length)});
    return static_cast<int>(length);
}

int FakeDeviceSet::read(int handle, uint8_t* buffer, size_t capacity, int timeoutMs)
{
    std::unique_lock lock(mutex_);
    Handle& h = handles_.at(handle);
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return h.dead || !h.input.empty(); });
    if (h.dead)
        return -1;
    if (h.input.empty())
        return 0;
    const std::vector<uint8_t> report = std::move(h.input.front());
    h.input.pop_front();
    const size_t n = std::min(capacity, report.size());
    std::memcpy(buffer, report.data(), n);
    return static_cast<int>(n);
}

int FakeDeviceSet::getFeature(int handle, uint8_t* buffer, size_t length)
{
    std::lock_guard lock(mutex_);
    if (handles_.at(handle).dead || featureReply_.empty())
        return -1;
    const size_t n = std::min(length, featureReply_.size());
    std::memcpy(buffer, featureReply_.data(), n);
    return static_cast<int>(n);
}

void FakeDeviceSet::close(int handle)
{
    std::lock_guard lock(mutex_);
    handles_.erase(handle);
}

}  // namespace ql::hid::test
