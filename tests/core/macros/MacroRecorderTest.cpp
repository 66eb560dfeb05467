// Recording a macro's events from key events, on a clock the test moves.
#include "core/macros/MacroRecorder.h"

#include "core/macros/MacroEventSpec.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace trevolin::macros {
namespace {

constexpr uint16_t A = 0x1E;
constexpr uint16_t B = 0x30;
constexpr uint16_t PrintScreen = 0x137;
constexpr size_t Room = 4000;

MacroEvent Press(uint16_t key, uint32_t pause) { return {pause, key, MacroEvent::Press}; }
MacroEvent Release(uint16_t key, uint32_t pause) { return {pause, key, MacroEvent::Release}; }

class MacroRecorderTest : public ::testing::Test {
protected:
    std::vector<MacroEvent> Feed(std::initializer_list<RecordedKey> keys, size_t room = Room)
    {
        std::vector<MacroEvent> all;
        for (const auto& key : keys) {
            const auto taken = recorder.Take(key, room);
            all.insert(all.end(), taken.begin(), taken.end());
        }
        return all;
    }

    test::ManualClock clock;
    MacroRecorder recorder{clock};
};

// The pauses are the events' own timestamps' differences (the display
// server's clock, which wraps), not when the program got round to them.
TEST_F(MacroRecorderTest, PausesComeFromTheEventsTimestamps)
{
    clock.SleepMs(5000);  // before the start: not recorded
    recorder.Start();
    clock.SleepMs(700);  // before the first press: not kept
    EXPECT_EQ(Feed({{A, true, false, 0xFFFFFF00u}}), (std::vector<MacroEvent>{Press(A, 0)}));
    clock.SleepMs(900);  // the program was busy; the events say 300 ms
    EXPECT_EQ(Feed({{A, false, false, 0xFFFFFF00u + 300}}), (std::vector<MacroEvent>{Release(A, 300)}));
    EXPECT_EQ(Feed({{B, true, false, 0x40}}), (std::vector<MacroEvent>{Press(B, 0x40 + 0x100 - 300)}));
    // No timestamp: the clock measures.
    clock.SleepMs(120);
    EXPECT_EQ(Feed({{B, false, false, 0}}), (std::vector<MacroEvent>{Release(B, 120)}));
    // A pause longer than the keyboard plays is capped.
    clock.SleepMs(90000);
    EXPECT_EQ(Feed({{A, true, false, 0}}), (std::vector<MacroEvent>{Press(A, MaxEventDelayMs)}));
}

TEST_F(MacroRecorderTest, RepeatsAndSecondPressesAreNotRecordedAndMissingPressesAreAdded)
{
    recorder.Start();
    const auto events = Feed({
        {A, true, false, 100},
        {A, false, true, 130},  // auto-repeat pairs
        {A, true, true, 130},
        {A, true, false, 160},  // a press of a key already down
        {A, false, false, 200},
        {PrintScreen, false, false, 260},  // its press never came
    });
    EXPECT_EQ(events, (std::vector<MacroEvent>{Press(A, 0), Release(A, 100), Press(PrintScreen, 60),
                                               Release(PrintScreen, 0)}));
    EXPECT_TRUE(Feed({{B, true, false, 300}}).size() == 1);
    recorder.Stop();
    EXPECT_TRUE(Feed({{A, true, false, 400}}).empty());  // stopped
}

// Keys still down when the recording ends are released, so none sticks when
// the macro plays; a press that would leave no room for those releases ends
// the recording instead.
TEST_F(MacroRecorderTest, KeysStillDownAreReleasedAndTheLastRoomIsKeptForThem)
{
    recorder.Start();
    Feed({{A, true, false, 10}, {B, true, false, 20}});
    clock.SleepMs(50);
    EXPECT_EQ(recorder.Stop(), (std::vector<MacroEvent>{Release(A, 50), Release(B, 0)}));

    recorder.Start();
    EXPECT_EQ(Feed({{A, true, false, 10}}, 3).size(), 1u);
    // Room for two more: B's press would leave none for A's release and B's.
    EXPECT_TRUE(Feed({{B, true, false, 20}}, 2).empty());
    EXPECT_TRUE(recorder.Full());
    EXPECT_EQ(recorder.Stop(), (std::vector<MacroEvent>{Release(A, 0)}));
}

}  // namespace
}  // namespace trevolin::macros
