// The composition root against the simulated keyboard, with its real
// threads: the library's, the presence workers and the keyboard thread.
#include "SimAppRig.h"

#include "core/app/WindowMessages.h"
#include "core/platform/KeyboardLock.h"
#include "core/profiles/ImageFile.h"
#include "core/profiles/KeyAssignment.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>

namespace trevolin::app {
namespace {

class KeyboardAppTest : public ::testing::Test {
protected:
    void Open(bool loadOnArrival)
    {
        rig.Open(
            [this](const ArrivalLoad& load) {
                std::lock_guard lock(mutex);
                arrivals.push_back(load);
                // The app may not be handed to the test yet: only the
                // thread is noted here.
                arrivalThreads.push_back(std::this_thread::get_id());
            },
            loadOnArrival);
        ASSERT_EQ(app->Session().DeviceCount(), 1u);
    }

    test::SimAppRig rig;
    std::unique_ptr<KeyboardApp>& app = rig.app;
    sim::SimKeyboardControl& kb = rig.kb;
    trevolin::test::RecordingMainWindow& window = rig.window;
    std::mutex mutex;
    std::vector<ArrivalLoad> arrivals;
    std::vector<std::thread::id> arrivalThreads;

    bool OnKeyboardThread(size_t arrival)
    {
        const auto keyboardThread = app->Call([] { return std::this_thread::get_id(); });
        std::lock_guard lock(mutex);
        return arrival < arrivalThreads.size() && arrivalThreads[arrival] == keyboardThread;
    }
};

// The desktop program's arrival: the key tables and the lighting are read on
// the keyboard thread, the window hears of it there, and a keyboard that
// comes back is read again (what changed on it meanwhile shows).
TEST_F(KeyboardAppTest, EveryArrivalIsLoadedOnTheKeyboardThread)
{
    Open(true);
    EXPECT_TRUE(OnKeyboardThread(0));
    {
        std::lock_guard lock(mutex);
        ASSERT_EQ(arrivals.size(), 1u);
        EXPECT_EQ(arrivals[0].profiles.source, profiles::LoadReport::Source::Keyboard);
        EXPECT_EQ(arrivals[0].activeProfile, 0);
        EXPECT_EQ(arrivals[0].lighting, device::ResultOk);
    }
    EXPECT_EQ(app->Profiles().Origin(), profiles::StoreOrigin::Keyboard);
    EXPECT_FALSE(app->Lighting().Effects().Effects().empty());
    // The load replaces the window's PROFILE_SYNC: the window only hears
    // the result.
    EXPECT_EQ(window.Count("profile sync"), 0u);

    std::string before;
    ASSERT_TRUE(profiles::SerializeImage(app->Store(), before));

    // Key A of profile 0 becomes key B on the keyboard while it is away: at
    // the position where the default key map holds key A's own code.
    ASSERT_EQ(kb.QlSimUnplug(), 1);
    ASSERT_TRUE(kb.waitIdle());
    app->WaitForPresence();
    std::array<uint8_t, 512> defaultMap{};
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_DEFAULT_KEYMAP, 0, defaultMap.data(), 512), 1);
    uint32_t keyA = 0;
    while (keyA < 126 && !(defaultMap[3 * keyA] == 2 && defaultMap[3 * keyA + 2] == 0x04))
        ++keyA;
    ASSERT_LT(keyA, 126u);
    const uint8_t keyB[3] = {2, 2, 0x05};
    ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_KEYMAPS, 3 * keyA, keyB, 3), 1);
    ASSERT_EQ(kb.QlSimPlug(), 1);
    ASSERT_TRUE(kb.waitIdle());
    app->WaitForPresence();
    EXPECT_TRUE(OnKeyboardThread(1));
    {
        std::lock_guard lock(mutex);
        ASSERT_EQ(arrivals.size(), 2u);
        EXPECT_EQ(arrivals[1].profiles.source, profiles::LoadReport::Source::Keyboard);
    }
    std::string after;
    ASSERT_TRUE(profiles::SerializeImage(app->Store(), after));
    EXPECT_TRUE(before != after) << "the store kept what the keyboard held before";
}

// A bank switch arrives while an Apply posted to the keyboard thread waits
// for the keyboard's replies: neither waits for the other.
TEST_F(KeyboardAppTest, BankSwitchDuringAnApplyOnTheKeyboardThread)
{
    Open(true);
    ASSERT_TRUE(app->Profiles().ResetProfileKeys(0));
    kb.QlSimSetLatency(5);
    std::promise<bool> applied;
    ASSERT_TRUE(app->Post([this] { return app->Profiles().Apply(); }, [&applied](bool ok) { applied.set_value(ok); }));
    ASSERT_EQ(kb.QlSimSendConsumerCode(device::ConsumerBankSwitch), 1);
    EXPECT_TRUE(applied.get_future().get());
    ASSERT_TRUE(kb.waitIdle());
    EXPECT_EQ(window.Count("bank B"), 1u);
    EXPECT_FALSE(app->Profiles().ChangesPending());
}

// Closing the program while a sequence waits for a keyboard that has
// stopped answering: the exchange is cancelled instead of waiting out its
// timeouts (three seconds each), and the sequence ends as a failure.
TEST_F(KeyboardAppTest, ClosingWhileASequenceWaitsForTheKeyboardEndsItAtOnce)
{
    Open(true);
    ASSERT_TRUE(app->Profiles().ResetProfileKeys(0));
    kb.QlSimDropReplies(1);
    std::promise<void> started;
    std::promise<bool> applied;
    // The sequence holds the profiles themselves: the test lets go of the
    // app while it runs.
    profiles::KeyboardProfiles& profiles = app->Profiles();
    ASSERT_TRUE(app->Post(
        [&started, &profiles] {
            started.set_value();
            return profiles.Apply();
        },
        [&applied](bool ok) { applied.set_value(ok); }));
    started.get_future().wait();
    const auto before = std::chrono::steady_clock::now();
    app.reset();
    const auto took = std::chrono::steady_clock::now() - before;
    EXPECT_FALSE(applied.get_future().get());
    // Waiting out the timeouts of an Apply would take tens of seconds.
    EXPECT_LT(took, std::chrono::seconds(5));
}

// The command line loads what it needs itself, through the keyboard thread.
TEST_F(KeyboardAppTest, WithoutTheLoadOnArrivalTheFrontEndLoads)
{
    Open(false);
    EXPECT_TRUE(arrivals.empty());
    EXPECT_EQ(window.Count("profile sync"), 1u);
    EXPECT_EQ(app->Profiles().Origin(), profiles::StoreOrigin::NotFromKeyboard);
    EXPECT_EQ(app->Call([this] { return app->Profiles().OnProfileSync(); }), 0);
    EXPECT_EQ(app->Profiles().Origin(), profiles::StoreOrigin::Keyboard);
}

// trevolinctl changed the keyboard between two of the window's sequences:
// the window's copy of the key tables is stale, and its Apply would write the
// other program's key back as it was. It writes nothing, says why and keeps
// the changes pending; the user's second Apply writes them.
TEST_F(KeyboardAppTest, AnApplyAfterAnotherProgramChangedTheKeyboardWritesNothingUntilRepeated)
{
    const std::string lockPath = rig.dir.File("trevolin/keyboard.lock");
    rig.Open({}, true, lockPath);
    app->Worker().WaitIdle();
    const auto keymaps = [this] {
        std::vector<uint8_t> bytes(static_cast<size_t>(kb.QlSimAreaSize(QL_SIM_AREA_KEYMAPS)));
        kb.QlSimReadArea(QL_SIM_AREA_KEYMAPS, 0, bytes.data(), static_cast<uint32_t>(bytes.size()));
        return bytes;
    };
    profiles::ApplyReport report;
    const auto editAndApply = [&](uint32_t function) {
        return app->Call([&] {
            auto& profiles = app->Profiles();
            static_cast<void>(
                profiles::StoreKeyAssignment(profiles.Store(), 0, 0x1E, {keys::KeyAction::Function, function, 1}));
            profiles.SetChangesPending(true);
            return profiles.ApplyChanges(&report);
        });
    };
    // Nobody else changed the keyboard: Apply writes.
    const std::vector<uint8_t> factory = keymaps();
    ASSERT_TRUE(editAndApply(3)) << report.write.problem;
    ASSERT_NE(keymaps(), factory);

    // The other program, under the lock, gives the first key of profile 1
    // another action and counts its change.
    // The keyboard thread lets go of the lock just after a sequence ends.
    auto& clock = platform::SteadyClock::Instance();
    {
        auto other = platform::KeyboardLock::Acquire(lockPath, "trevolinctl", 5000, clock);
        ASSERT_EQ(other.result, platform::KeyboardLock::Result::Acquired) << other.detail;
        const uint8_t action[3] = {0x02, 0x00, 0x05};
        ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_KEYMAPS, 0, action, 3), 1);
        other.lock->CountChange();
    }
    const std::vector<uint8_t> changedElsewhere = keymaps();

    EXPECT_FALSE(editAndApply(4));
    EXPECT_EQ(report.refused, profiles::ApplyReport::Refused::ChangedElsewhere);
    EXPECT_EQ(keymaps(), changedElsewhere);
    EXPECT_TRUE(app->Profiles().ChangesPending());
    EXPECT_NE(ApplyFailureText(report, rig.texts, "").find("Another Trevolin program changed the keyboard"),
              std::string::npos);

    // Told once: the user presses Apply again and the window's copy is written.
    EXPECT_TRUE(app->Call([&] { return app->Profiles().ApplyChanges(&report); })) << report.write.problem;
    EXPECT_FALSE(app->Profiles().ChangesPending());
    const std::vector<uint8_t> written = keymaps();
    EXPECT_TRUE(std::equal(written.begin(), written.begin() + 3, factory.begin()));
    EXPECT_NE(written, changedElsewhere);

    // After a read the copy is current again, until the next outside change.
    {
        auto other = platform::KeyboardLock::Acquire(lockPath, "trevolinctl", 5000, clock);
        ASSERT_EQ(other.result, platform::KeyboardLock::Result::Acquired);
        other.lock->CountChange();
    }
    app->Call([this] { return app->LoadOnArrival(); });
    EXPECT_TRUE(editAndApply(5)) << report.write.problem;
}

}  // namespace
}  // namespace trevolin::app
