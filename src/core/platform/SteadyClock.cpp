#include "core/platform/Clock.h"

#include <thread>

namespace trevolin::platform {

uint64_t SteadyClock::NowMs()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SteadyClock::SleepMs(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

WaitResult SteadyClock::WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t timeoutMs,
                                const std::function<bool()>& ready)
{
    return cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready) ? WaitResult::Signalled : WaitResult::Timeout;
}

SteadyClock& SteadyClock::Instance()
{
    static SteadyClock clock;
    return clock;
}

}  // namespace trevolin::platform
