#include "core/platform/ClockChangeWatch.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <time.h>

namespace trevolin::platform {
namespace {

// Quiet while the clock runs; readable once it is set (here to the time it
// already shows, which only a process allowed to set the clock can do), and
// watching again afterwards.
TEST(ClockChangeWatch, SpeaksOnceTheClockIsSet)
{
    auto watch = ClockChangeWatch::Create();
    ASSERT_NE(watch, nullptr);
    pollfd entry{watch->Fd(), POLLIN, 0};
    EXPECT_EQ(::poll(&entry, 1, 0), 0);
    EXPECT_FALSE(watch->Consume());

    timespec now{};
    ASSERT_EQ(::clock_gettime(CLOCK_REALTIME, &now), 0);
    if (::clock_settime(CLOCK_REALTIME, &now) != 0)
        GTEST_SKIP() << "this process may not set the clock";
    EXPECT_EQ(::poll(&entry, 1, 1000), 1);
    EXPECT_TRUE(watch->Consume());
    EXPECT_EQ(::poll(&entry, 1, 0), 0);
    EXPECT_FALSE(watch->Consume());
}

}  // namespace
}  // namespace trevolin::platform
