#include "core/device/DeviceSession.h"
#include "core/profiles/ActiveProfile.h"
#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileStore.h"
#include "support/FakeHidLibrary.h"
#include "support/FakeKeyboard.h"
#include "support/ManualClock.h"
#include "support/RecordingMainWindow.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace trevolin::profiles {
namespace {

using device::KeyboardCommands;
using test::FakeHidLibrary;
using Reply = FakeHidLibrary::Reply;

// The session against the fake keyboard, whose information block says
// profile 2 is active and 32 units of macro area.
class ActiveProfileTest : public ::testing::Test {
protected:
    ActiveProfileTest() : session(fake.Exports(), window, workers, clock)
    {
        keyboard.info[10] = 2;
        keyboard.SetMacroUnits(0x20);
        keyboard.AnswerFor(fake);
        EXPECT_TRUE(session.Start(false));
        fake.written.clear();
        session.SetActiveProfileCache(-1);
    }

    std::vector<uint8_t> Commands() const
    {
        std::vector<uint8_t> commands;
        for (const auto& report : fake.written)
            commands.push_back(report.Command());
        return commands;
    }

    test::FakeKeyboard keyboard;
    FakeHidLibrary fake;
    test::RecordingMainWindow window;
    platform::InlineTaskRunner workers;
    test::ManualClock clock;
    device::DeviceSession session;
};

TEST_F(ActiveProfileTest, QueryReadsTheKeyboardOnceAndThenAnswersFromTheCache)
{
    EXPECT_EQ(GetActiveProfile(session), 2);
    EXPECT_EQ(session.ActiveProfileCache(), 2);
    keyboard.info[10] = 0;
    EXPECT_EQ(GetActiveProfile(session), 2);
    EXPECT_EQ(Commands(), (std::vector<uint8_t>{3}));
}

TEST_F(ActiveProfileTest, UnreadableKeyboardGivesNoProfileAndAsksAgainNextTime)
{
    fake.replies.assign({{Reply::Drop}, {Reply::Drop}, {Reply::Drop}});
    EXPECT_EQ(GetActiveProfile(session), -1);
    EXPECT_EQ(session.ActiveProfileCache(), -1);
    EXPECT_EQ(GetActiveProfile(session), 2);
}

TEST_F(ActiveProfileTest, SettingWritesByteTenBackAndCachesTheProfile)
{
    EXPECT_TRUE(SetActiveProfile(session, 1));
    ASSERT_EQ(Commands(), (std::vector<uint8_t>{3, 4}));
    const auto& write = fake.written[1];
    EXPECT_EQ(write.Data()[10], 1);
    EXPECT_EQ(write.Data()[8], 0x07);  // the rest of the block goes back as read
    EXPECT_EQ(write.Data()[11], 0x20);
    EXPECT_EQ(session.ActiveProfileCache(), 1);
}

TEST_F(ActiveProfileTest, RefusedWriteForgetsTheCachedProfile)
{
    session.SetActiveProfileCache(0);
    const Reply refused{Reply::Normal, device::StatusRefused};
    fake.replies.assign({{Reply::Normal}, refused, refused, refused});
    EXPECT_FALSE(SetActiveProfile(session, 1));
    EXPECT_EQ(Commands(), (std::vector<uint8_t>{3, 4, 4, 4}));
    EXPECT_EQ(session.ActiveProfileCache(), -1);
}

TEST_F(ActiveProfileTest, NothingIsSentForAnUnreadableBlockOrAnIndexThatIsNoProfile)
{
    session.SetActiveProfileCache(0);
    for (int index : {-1, -5, 3, 255})
        EXPECT_FALSE(SetActiveProfile(session, index));
    EXPECT_TRUE(fake.written.empty());
    EXPECT_EQ(session.ActiveProfileCache(), 0);

    fake.replies.assign({{Reply::Drop}, {Reply::Drop}, {Reply::Drop}});
    EXPECT_FALSE(SetActiveProfile(session, 1));
    EXPECT_EQ(Commands(), (std::vector<uint8_t>{3, 3, 3}));
    EXPECT_EQ(session.ActiveProfileCache(), 0);
}

TEST_F(ActiveProfileTest, SaveWritesOnlyAnExistingProfileFile)
{
    test::TempDir dir;
    const UserFolder folder{(dir.Path() / "Dravik-RGB_01").string(), dir.File("template.userd")};
    const auto path = ProfileFilePath(folder, 0);
    ProfileStore store;
    EXPECT_TRUE(store.Texts().Set(0, u"x"));
    store.Image().SetEntryKind(0, keys::KeyAction::LaunchProgram);

    EXPECT_FALSE(SaveActiveProfile(store, folder, session, true));
    EXPECT_FALSE(std::filesystem::exists(path));

    ASSERT_TRUE(MakeDefaultImage(path, 0));
    EXPECT_TRUE(SaveActiveProfile(store, folder, session, true));
    EXPECT_EQ(test::TempDir::Read(path).size(), 32832u + 4u);
    EXPECT_EQ(Commands(), (std::vector<uint8_t>{3}));  // the active profile was asked for once
}

}  // namespace
}  // namespace trevolin::profiles
