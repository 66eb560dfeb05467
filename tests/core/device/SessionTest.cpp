#include "core/device/DeviceSession.h"
#include "core/device/FactoryKeymap.h"
#include "support/FakeHidLibrary.h"
#include "support/FakeKeyboard.h"
#include "support/ManualClock.h"
#include "support/RecordingMainWindow.h"

#include <gtest/gtest.h>

namespace trevolin::device {
namespace {

using test::FakeHidLibrary;
using Reply = FakeHidLibrary::Reply;

// The session against the scripted library, with workers run in place so
// every notification is handled completely before the call returns.
class SessionTest : public ::testing::Test {
protected:
    SessionTest() : session(fake.Exports(), window, workers, clock)
    {
        keyboard.SetMacroUnits(0x20);
        keyboard.defaultKeymap.fill(0x42);
        keyboard.AnswerFor(fake);
    }

    size_t Opens() const { return window.Count("open window"); }

    test::FakeKeyboard keyboard;
    FakeHidLibrary fake;
    test::RecordingMainWindow window;
    platform::InlineTaskRunner workers;
    test::ManualClock clock;
    DeviceSession session;
};

TEST_F(SessionTest, StartRegistersBothChannelsAndReadsTheArrivedKeyboard)
{
    ASSERT_TRUE(session.Start(false));
    EXPECT_EQ(fake.checksumFailures, 0);
    const std::vector<std::string> firstCalls(fake.calls.begin(), fake.calls.begin() + 5);
    EXPECT_EQ(firstCalls, (std::vector<std::string>{"Init 0", "DeleteRequestFromUnitId 0", "RequestAsyncRead CONS",
                                                    "DeleteRequestFromUnitId 0", "RequestAsyncRead CTRL"}));
    EXPECT_EQ(window.Events(), (std::vector<std::string>{"keyboard arriving", "profile sync", "tray 141", "open window"}));
    EXPECT_EQ(session.MacroCapacity(), 32u * 128u);
    EXPECT_EQ(session.FactoryKeymap()[511], 0x42);
    ASSERT_TRUE(session.ArrivalInfo());
    EXPECT_EQ(session.ArrivalInfo()->FirmwareVersion(), 0x107);
    EXPECT_EQ(session.DeviceCount(), 1u);
}

TEST_F(SessionTest, FailingInitStopsTheStart)
{
    fake.initResult = 0;
    EXPECT_FALSE(session.Start(false));
    EXPECT_TRUE(fake.Registrations().empty());
}

TEST_F(SessionTest, OnlyTheFirstArrivalOpensTheWindow)
{
    EXPECT_TRUE(session.Start(false));
    fake.NotifyCount(1);  // the same count again: nothing happens
    EXPECT_EQ(window.Count("profile sync"), 1u);
    fake.NotifyCount(0);
    fake.NotifyCount(1);
    EXPECT_EQ(window.Count("profile sync"), 2u);
    EXPECT_EQ(Opens(), 1u);
}

TEST_F(SessionTest, KeyboardPluggedInAfterStartNeverOpensTheWindow)
{
    fake.deviceCount = 0;
    EXPECT_TRUE(session.Start(false));
    EXPECT_TRUE(session.FirstArrivalDone());
    fake.NotifyCount(1);
    EXPECT_EQ(window.Count("profile sync"), 1u);
    EXPECT_EQ(Opens(), 0u);
}

TEST_F(SessionTest, TrayStartNeverOpensTheWindow)
{
    EXPECT_TRUE(session.Start(true));
    EXPECT_EQ(Opens(), 0u);
}

TEST_F(SessionTest, RemovalForgetsTheActiveProfileAndHides)
{
    EXPECT_TRUE(session.Start(false));
    session.SetActiveProfileCache(2);
    window.Clear();
    fake.NotifyCount(0);
    EXPECT_EQ(session.ActiveProfileCache(), -1);
    EXPECT_EQ(window.Events(), (std::vector<std::string>{"keyboard gone", "hide", "tray 128"}));
    EXPECT_EQ(session.DeviceCount(), 0u);
}

TEST_F(SessionTest, UnreadableDefaultKeymapKeepsThePreviousOneAndSaysSo)
{
    fake.replies.assign({{Reply::Drop}, {Reply::Drop}, {Reply::Drop}});
    EXPECT_TRUE(session.Start(false));
    EXPECT_EQ(window.Count("message MAIN_DEFAULT_MATRIX_PROMPT"), 1u);
    EXPECT_EQ(session.FactoryKeymap(), BuiltInFactoryKeymap());
    EXPECT_EQ(session.MacroCapacity(), 32u * 128u);  // the info block still came
}

// Sleeps advance virtual time and let the test act between polls.
struct PollingClock : test::ManualClock {
    std::function<void()> onSleep;
    void SleepMs(uint32_t ms) override
    {
        test::ManualClock::SleepMs(ms);
        onSleep();
    }
};

TEST(SessionStartup, ArrivalWaitsForTheMainWindowToFinishStarting)
{
    FakeHidLibrary fake;
    test::RecordingMainWindow window;
    platform::InlineTaskRunner workers;
    PollingClock clock;
    window.initComplete = false;
    int polls = 0;
    clock.onSleep = [&] {
        if (++polls == 3)
            window.initComplete = true;
    };
    DeviceSession session(fake.Exports(), window, workers, clock);
    EXPECT_TRUE(session.Start(false));
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{50, 50, 50}));
    EXPECT_EQ(window.Events().back(), "open window");
}

TEST_F(SessionTest, BankSwitchTogglesTheStatusAndTellsTheWindow)
{
    EXPECT_TRUE(session.Start(false));
    window.Clear();
    fake.SendConsumer(ConsumerBankSwitch);
    EXPECT_TRUE(session.BankB());
    fake.SendConsumer(ConsumerBankSwitch);
    EXPECT_EQ(session.KeyBankStatus(), (std::array<uint8_t, 2>{0x05, 0x02}));
    EXPECT_EQ(fake.statusWrites, (std::vector<std::array<uint8_t, 2>>{{0x05, 0x03}, {0x05, 0x02}}));
    EXPECT_EQ(window.Events(), (std::vector<std::string>{"key bank changed", "bank B", "key bank changed", "bank A"}));
    EXPECT_EQ(fake.checksumFailures, 0);
}

TEST_F(SessionTest, KeyboardNotificationsBecomeTimersAndTrayChanges)
{
    EXPECT_TRUE(session.Start(false));
    window.Clear();
    for (uint16_t code : {ConsumerLightingChanged, ConsumerFactoryReset, uint16_t(0x1801), ConsumerActivityStarted,
                          ConsumerActivityEnded, uint16_t(0x1234)})
        fake.SendConsumer(code);
    EXPECT_EQ(window.Events(),
              (std::vector<std::string>{"timer 1051 0", "timer 1053 0", "tray temporary 142", "tray restore"}));
}

TEST_F(SessionTest, StrayVendorReportIsDropped)
{
    EXPECT_TRUE(session.Start(false));
    const size_t before = fake.written.size();
    fake.SendVendorData(std::vector<uint8_t>(64, 3));
    uint8_t info[44];
    fake.replies.assign({{Reply::Drop}});
    EXPECT_EQ(session.Commands().ReadInfo(info), 1);
    EXPECT_EQ(fake.written.size() - before, 2u);  // the stray report answered nothing
}

TEST(SessionEnd, EndingTheSessionCancelsItsRequests)
{
    FakeHidLibrary fake;
    test::RecordingMainWindow window;
    platform::InlineTaskRunner workers;
    test::ManualClock clock;
    {
        DeviceSession session(fake.Exports(), window, workers, clock);
        EXPECT_TRUE(session.Start(false));
        fake.SendConsumer(ConsumerBankSwitch);
        EXPECT_EQ(fake.Registrations().size(), 2u);
    }
    EXPECT_TRUE(fake.Registrations().empty());
    // Nothing reaches the ended session any more.
    window.Clear();
    fake.SendConsumer(ConsumerBankSwitch);
    EXPECT_TRUE(window.Events().empty());
}

}  // namespace
}  // namespace trevolin::device
