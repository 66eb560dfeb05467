// The session's presence workers on real threads, against the scripted
// library. The window's calls hold a worker where a test needs it.
#include "core/device/DeviceSession.h"
#include "support/FakeHidLibrary.h"
#include "support/ManualClock.h"
#include "support/RecordingMainWindow.h"

#include <gtest/gtest.h>

#include <future>

namespace trevolin::device {
namespace {

class PresenceThreadsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.Start(true));
        workers.JoinAll();
        ASSERT_EQ(session.DeviceCount(), 1u);
    }

    test::FakeHidLibrary fake;
    test::RecordingMainWindow window;
    platform::ThreadTaskRunner workers;
    test::ManualClock clock;
    DeviceSession session{fake.Exports(), window, workers, clock};
};

// The keyboard leaves and comes back while the removal is still being
// handled: the replug's worker must not be lost, and the keyboard counts as
// present at the end.
TEST_F(PresenceThreadsTest, OverlappingUnplugAndReplugEndWithTheLastCount)
{
    std::promise<void> removalEntered, release;
    auto released = release.get_future().share();
    window.onEvent = [&](const std::string& event) {
        if (event == "keyboard gone") {
            removalEntered.set_value();
            released.wait();
        }
    };
    fake.NotifyCount(0);
    removalEntered.get_future().wait();
    fake.NotifyCount(1);
    release.set_value();
    workers.JoinAll();

    EXPECT_EQ(session.DeviceCount(), 1u);
    EXPECT_EQ(window.Count("profile sync"), 2u);  // the start and the replug
    EXPECT_EQ(window.Events().back(), "tray 141");
}

// Stopping while an arrival worker waits on the window: Stop returns once
// the worker is done, and nothing of the session runs afterwards.
TEST_F(PresenceThreadsTest, StopWaitsForTheWorkerAndSilencesTheLibrary)
{
    std::promise<void> arrivalEntered, release;
    auto released = release.get_future().share();
    window.onEvent = [&](const std::string& event) {
        if (event == "keyboard gone") {
            arrivalEntered.set_value();
            released.wait();
        }
    };
    fake.NotifyCount(0);
    arrivalEntered.get_future().wait();
    auto stopping = std::async(std::launch::async, [&] { session.Stop(); });
    EXPECT_EQ(stopping.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
    release.set_value();
    stopping.get();

    const size_t events = window.Events().size();
    fake.NotifyCount(1);
    fake.SendConsumer(ConsumerBankSwitch);
    workers.JoinAll();
    EXPECT_EQ(window.Events().size(), events);
    uint8_t info[44];
    EXPECT_EQ(session.Commands().ReadInfo(info), ResultNoDevice);
}

}  // namespace
}  // namespace trevolin::device
