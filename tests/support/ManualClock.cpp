#include "support/ManualClock.h"

namespace trevolin::test {

uint64_t ManualClock::NowMs()
{
    std::lock_guard lock(mutex_);
    return now_;
}

void ManualClock::SleepMs(uint32_t ms)
{
    std::lock_guard lock(mutex_);
    now_ += ms;
    sleeps_.push_back(ms);
}

platform::WaitResult ManualClock::WaitFor(std::unique_lock<std::mutex>&, std::condition_variable&, uint32_t timeoutMs,
                                          const std::function<bool()>& ready)
{
    std::lock_guard lock(mutex_);
    ++waits;
    if (failNextWait_) {
        failNextWait_ = false;
        return platform::WaitResult::Failed;
    }
    if (ready())
        return platform::WaitResult::Signalled;
    now_ += timeoutMs;
    return platform::WaitResult::Timeout;
}

std::vector<uint32_t> ManualClock::Sleeps() const
{
    std::lock_guard lock(mutex_);
    return sleeps_;
}

}  // namespace trevolin::test
