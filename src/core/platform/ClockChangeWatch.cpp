#include "core/platform/ClockChangeWatch.h"

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace trevolin::platform {

std::unique_ptr<ClockChangeWatch> ClockChangeWatch::Create()
{
    const int fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    std::unique_ptr<ClockChangeWatch> watch(new ClockChangeWatch(fd));
    if (!watch->Arm())
        return nullptr;
    return watch;
}

ClockChangeWatch::~ClockChangeWatch()
{
    ::close(fd_);
}

bool ClockChangeWatch::Arm()
{
    // A timer that does not expire on its own for years and is cancelled,
    // which makes the descriptor readable, whenever the clock is set. Its
    // time counts from now: a fixed date would one day lie in the past and
    // fire at every arming.
    constexpr time_t TenYears = 10 * 366 * 24 * 3600;
    timespec now{};
    if (::clock_gettime(CLOCK_REALTIME, &now) != 0)
        return false;
    itimerspec never{};
    never.it_value.tv_sec = now.tv_sec + TenYears;
    return ::timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr) == 0;
}

bool ClockChangeWatch::Consume()
{
    uint64_t expirations = 0;
    const ssize_t got = ::read(fd_, &expirations, sizeof expirations);
    const bool set = got < 0 && errno == ECANCELED;
    if (set || got == static_cast<ssize_t>(sizeof expirations))
        static_cast<void>(Arm());
    return set;
}

}  // namespace trevolin::platform
