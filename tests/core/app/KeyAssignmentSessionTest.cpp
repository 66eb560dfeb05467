// One opening of the key assignment dialog against the simulated keyboard:
// what Apply writes to the store, what Cancel leaves, recording, and the
// questions the macro page asks.
#include "SimAppRig.h"

#include "core/app/KeyAssignmentSession.h"
#include "core/keyboard/KeyboardLayout.h"
#include "core/keys/KeyAction.h"
#include "core/keys/KeyNumber.h"
#include "core/profiles/KeyAssignment.h"
#include "core/profiles/StoreMacroList.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <mutex>

namespace trevolin::app {
namespace {

using keys::KeyAction;
using macros::MacroEvent;
using Page = profiles::KeyAssignmentDialogModel::Page;

constexpr uint16_t KeyA = 0x1E;
constexpr uint16_t KeyB = 0x30;

class KeyAssignmentSessionTest : public ::testing::Test {
protected:
    KeyAssignmentSessionTest()
    {
        rig.Open();
        settings.emplace(rig.dir.File("settings.ini"));
        session.emplace(*rig.app, rig.texts, rig.prompts, *settings, clock);
    }

    KeyAction Stored(int profile, uint16_t keyNumber)
    {
        profiles::ProfileStore& store = rig.app->Store();
        std::lock_guard lock(store.Lock());
        return *keys::TryReadKeyAction(
            store.Image().Entry(profiles::ProfileImage::SlotOf(static_cast<size_t>(profile), keyNumber)));
    }

    void Open(uint16_t keyNumber, bool macroOnly = false)
    {
        std::string problem;
        ASSERT_TRUE(session->Open({1000, keyNumber, macroOnly}, problem)) << problem;
    }

    test::SimAppRig rig;
    trevolin::test::ManualClock clock;
    std::optional<base::SettingsStore> settings;
    std::optional<KeyAssignmentSession> session;
};

TEST_F(KeyAssignmentSessionTest, ApplyWritesTheCapturedKeyAndCancelWritesNothing)
{
    const auto keyNumber = static_cast<uint16_t>(keys::KeyNumberOf(KeyA));
    const int profile = rig.app->Session().ActiveProfileCache();
    ASSERT_GE(profile, 0);
    const KeyAction before = Stored(profile, keyNumber);

    // Cancel: a capture that is never applied leaves the entry alone.
    Open(keyNumber);
    session->Page().Capture(KeyB);
    session->Close();
    EXPECT_EQ(Stored(profile, keyNumber), before);
    EXPECT_FALSE(rig.app->Profiles().ChangesPending());

    Open(keyNumber);
    session->Page().Capture(KeyB);
    EXPECT_TRUE(session->Dirty());
    const auto result = session->Apply(1);
    EXPECT_TRUE(result.keyWritten);
    EXPECT_FALSE(session->Dirty());
    EXPECT_EQ(Stored(profile, keyNumber).kind, KeyAction::Key);
    EXPECT_EQ(Stored(profile, keyNumber).value, KeyB);
    EXPECT_TRUE(rig.app->Profiles().ChangesPending());
}

TEST_F(KeyAssignmentSessionTest, ARecordedMacroIsStoredAndStaysOnItsKeyAcrossTwoApplies)
{
    const uint16_t gKey = keyboard::GKeyNumber(2, true);
    const int profile = rig.app->Session().ActiveProfileCache();
    Open(gKey);
    session->Page().ChoosePage(Page::Macro);
    ASSERT_TRUE(session->Macros().AddNew().Changed());
    const size_t macro = *session->Macros().Selected();

    // Pauses kept: the press carries the time to the release; the time
    // before the first press is not kept.
    session->SetRecordDelay(true);
    ASSERT_TRUE(session->StartRecording(std::nullopt));
    clock.SleepMs(700);
    session->Record({KeyA, true, false, 1000});
    session->Record({KeyA, true, true, 1030});  // auto-repeat
    session->Record({KeyA, false, false, 1120});
    session->StopRecording();
    const auto& events = session->Macros().Macros()[macro].events;
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], (MacroEvent{120, KeyA, MacroEvent::Press}));
    EXPECT_EQ(events[1], (MacroEvent{0, KeyA, MacroEvent::Release}));
    EXPECT_EQ(settings->ProfileString(RecordDelaySetting, ""), "1");

    auto result = session->Apply(3);
    ASSERT_TRUE(result.macrosCommitted);
    ASSERT_TRUE(result.keyWritten);
    const KeyAction stored = Stored(profile, gKey);
    EXPECT_EQ(stored.kind, KeyAction::Macro);
    EXPECT_NE(stored.value, 0u);
    EXPECT_EQ(stored.extra, 3u);  // the play count, not the G-key marker
    EXPECT_EQ(profiles::MacroNameOfId(rig.app->Store(), static_cast<uint16_t>(stored.value)).empty(), false);

    // A second Apply after another change keeps the key on the macro the
    // first one created (the macro is stored now, not new).
    session->Macros().SetPlayCount(macro, 2);
    result = session->Apply(2);
    EXPECT_EQ(Stored(profile, gKey).kind, KeyAction::Macro);
    EXPECT_EQ(Stored(profile, gKey).value, stored.value);
}

TEST_F(KeyAssignmentSessionTest, DeletingAMacroThatKeysOfAnotherProfilePlayAsksFirst)
{
    // A stored macro played by a key of profile 2 (index 1).
    Open(static_cast<uint16_t>(keys::KeyNumberOf(KeyA)));
    ASSERT_TRUE(session->Macros().AddNew().Changed());
    ASSERT_TRUE(session->Apply(1).macrosCommitted);
    const uint16_t id = session->Macros().Macros()[0].id;
    ASSERT_TRUE(profiles::StoreKeyAssignment(rig.app->Store(), 1, static_cast<uint16_t>(keys::KeyNumberOf(KeyB)),
                                             {KeyAction::Macro, id, 1}));
    session->Close();

    Open(static_cast<uint16_t>(keys::KeyNumberOf(KeyA)));
    rig.prompts.answers = {false};
    EXPECT_FALSE(session->DeleteMacro(0));
    ASSERT_EQ(rig.prompts.entries.size(), 1u);
    EXPECT_EQ(rig.prompts.entries[0].key, macros::MacroDeleteConfirmKey);
    EXPECT_EQ(session->Macros().Macros().size(), 1u);

    rig.prompts.answers = {true};
    EXPECT_TRUE(session->DeleteMacro(0));
    EXPECT_TRUE(session->Macros().Macros().empty());

    // A macro made in this opening is deleted without a question.
    ASSERT_TRUE(session->Macros().AddNew().Changed());
    EXPECT_TRUE(session->DeleteMacro(0));
    EXPECT_EQ(rig.prompts.entries.size(), 2u);
}

TEST_F(KeyAssignmentSessionTest, TheRecordDelayOptionReadsAnythingButOneAsOffAndWritesItBack)
{
    for (const auto& [stored, on, after] : {std::tuple{"1", true, "1"}, {"0", false, "0"}, {"7", false, "0"},
                                            {"=x", false, "0"}}) {
        ASSERT_TRUE(settings->SetProfileString(RecordDelaySetting, stored));
        Open(static_cast<uint16_t>(keys::KeyNumberOf(KeyA)));
        EXPECT_EQ(session->RecordDelay(), on) << stored;
        EXPECT_EQ(settings->ProfileString(RecordDelaySetting, ""), after) << stored;
    }
}

}  // namespace
}  // namespace trevolin::app
