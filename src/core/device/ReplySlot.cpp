#include "core/device/ReplySlot.h"

#include <algorithm>
#include <cstring>

namespace trevolin::device {

void ReplySlot::Arm(uint32_t capacity, Expected expected)
{
    std::lock_guard lock(mutex_);
    expected_ = expected;
    awaiting_ = true;
    signalled_ = false;
    capacity_ = std::min(capacity, Capacity);
    length_ = 0;
}

void ReplySlot::Disarm()
{
    std::lock_guard lock(mutex_);
    awaiting_ = false;
    signalled_ = false;
}

bool ReplySlot::Awaiting() const
{
    std::lock_guard lock(mutex_);
    return awaiting_;
}

void ReplySlot::Cancel()
{
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    signal_.notify_all();
}

bool ReplySlot::Deliver(const uint8_t* data, uint32_t count)
{
    {
        std::lock_guard lock(mutex_);
        if (!awaiting_ || !data || count < 7)
            return false;
        const uint16_t offset = static_cast<uint16_t>(data[5] | (data[6] << 8));
        if (data[3] != expected_.command || offset != expected_.offset)
            return false;
        const uint32_t n = std::min(count, capacity_);
        std::memcpy(buffer_.data(), data, n);
        length_ = n;
        signalled_ = true;
    }
    signal_.notify_all();
    return true;
}

platform::WaitResult ReplySlot::Wait(platform::Clock& clock, uint32_t timeoutMs, uint8_t* out, uint32_t& length)
{
    std::unique_lock lock(mutex_);
    length = 0;
    if (cancelled_)
        return platform::WaitResult::Failed;
    const auto result = clock.WaitFor(lock, signal_, timeoutMs, [this] { return signalled_ || cancelled_; });
    if (cancelled_)
        return platform::WaitResult::Failed;
    if (result == platform::WaitResult::Signalled) {
        // Auto-reset: one signal answers one wait.
        signalled_ = false;
        std::memcpy(out, buffer_.data(), length_);
        length = length_;
    }
    return result;
}

}  // namespace trevolin::device
