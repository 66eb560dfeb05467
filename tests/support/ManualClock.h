#pragma once

#include "core/platform/Clock.h"

#include <mutex>
#include <vector>

namespace trevolin::test {

// Virtual time: sleeps and timeouts advance it at once. A wait is answered
// only by what is already there when it starts, which is exact with the
// scripted library (it replies inside the write call).
class ManualClock : public platform::Clock {
public:
    uint64_t NowMs() override;
    void SleepMs(uint32_t ms) override;
    platform::WaitResult WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t timeoutMs,
                                 const std::function<bool()>& ready) override;

    void FailNextWait() { failNextWait_ = true; }
    std::vector<uint32_t> Sleeps() const;
    uint64_t waits = 0;

private:
    mutable std::mutex mutex_;
    uint64_t now_ = 0;
    bool failNextWait_ = false;
    std::vector<uint32_t> sleeps_;
};

}  // namespace trevolin::test
