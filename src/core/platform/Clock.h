#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace trevolin::platform {

enum class WaitResult { Signalled, Timeout, Failed };

// Time, sleeps and bounded waits go through here so that tests of the
// one-second reply timeouts run in microseconds.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint64_t NowMs() = 0;
    virtual void SleepMs(uint32_t ms) = 0;
    // Waits on `cv` (with `lock` held) until `ready()` or `timeoutMs` passed.
    virtual WaitResult WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t timeoutMs,
                               const std::function<bool()>& ready) = 0;
};

class SteadyClock final : public Clock {
public:
    uint64_t NowMs() override;
    void SleepMs(uint32_t ms) override;
    WaitResult WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t timeoutMs,
                       const std::function<bool()>& ready) override;
    static SteadyClock& Instance();
};

}  // namespace trevolin::platform
