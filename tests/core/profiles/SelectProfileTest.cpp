// Switching the keyboard's active profile, and the profile menu.
#include "ProfilesTestSupport.h"

#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileMenu.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace trevolin::profiles::test {
namespace {

using keys::KeyAction;

bool Sends(const std::vector<std::string>& sent, const std::string& prefix)
{
    return std::any_of(sent.begin(), sent.end(), [&](const std::string& s) { return s.rfind(prefix, 0) == 0; });
}

// The store was loaded from the keyboard, whose active profile is 1, and
// the hooks of the desktop program are recorded.
struct SwitchRig : FakeRig {
    SwitchRig()
    {
        profiles->LoadFromKeyboard(false);
        ProfileSwitchHooks hooks;
        hooks.keyDialogOpen = [this] { return keyDialogOpen; };
        hooks.managerOpen = [this] { return managerOpen; };
        hooks.managerModified = [this] { return managerModified; };
        hooks.tickManagerRow = [this](int row) {
            tickedRows.push_back(row);
            managerModified = false;
        };
        hooks.showProfileMenu = [this](const ProfileMenu& menu) { menus.push_back(menu); };
        profiles->SetSwitchHooks(std::move(hooks));
        fake.written.clear();
    }

    bool keyDialogOpen = false;
    bool managerOpen = false;
    bool managerModified = false;
    std::vector<int> tickedRows;
    std::vector<ProfileMenu> menus;
};

TEST(SelectProfileTest, TheIndexIsMappedAndOnlyRealProfilesAreSent)
{
    struct Case {
        int index;
        int mapped;
        int active;  // the keyboard's byte 10 afterwards
        size_t ticked;
    };
    for (const Case c : {Case{2, 2, 2, 4}, Case{5, 0, 0, 2}, Case{3, 0, 0, 2}, Case{-1, -1, 1, 3}}) {
        SCOPED_TRACE(c.index);
        SwitchRig rig;
        rig.managerOpen = true;
        ProfileSelection selection;
        // -1 switches nothing, so it is not a switch that succeeded.
        EXPECT_EQ(rig.profiles->SelectProfile(c.index, &selection), c.index != -1);
        EXPECT_EQ(selection.index, c.mapped);
        EXPECT_FALSE(selection.asked);
        EXPECT_EQ(rig.keyboard.info[10], c.active);
        EXPECT_EQ(Sends(rig.Sent(), "4 "), c.index != -1);
        EXPECT_EQ(selection.switched, c.index != -1);
        EXPECT_EQ(rig.tickedRows, std::vector<int>{c.mapped});
        ASSERT_EQ(rig.menus.size(), 1u);
        EXPECT_EQ(rig.menus[0].tickedPosition, c.ticked);
    }
}

TEST(SelectProfileTest, AKeyboardThatDoesNotTakeTheProfileIsNoSwitch)
{
    for (const uint8_t refused : {uint8_t{3}, uint8_t{4}}) {  // the read, or the write, of the block
        SCOPED_TRACE(int{refused});
        SwitchRig rig;
        rig.keyboard.statusOf[refused] = device::StatusRefused;
        ProfileSelection selection;
        EXPECT_FALSE(rig.profiles->SelectProfile(2, &selection));
        EXPECT_FALSE(selection.switched);
        EXPECT_FALSE(selection.accepted);
        EXPECT_EQ(rig.keyboard.info[10], 1);
        EXPECT_EQ(rig.menus.size(), 1u);  // the menu shows what the keyboard has
    }
}

TEST(SelectProfileTest, RefusedWhileTheKeyDialogIsOpen)
{
    SwitchRig rig;
    rig.keyDialogOpen = true;
    rig.profiles->SetChangesPending(true);
    EXPECT_FALSE(rig.profiles->SelectProfile(2));
    EXPECT_EQ(rig.prompts.Keys(), std::vector<std::string>{"PROFILE_SEELCT_PROMPT2"});
    EXPECT_FALSE(rig.prompts.entries[0].question);
    EXPECT_TRUE(rig.fake.written.empty());
    EXPECT_TRUE(rig.menus.empty());
    EXPECT_TRUE(rig.profiles->ChangesPending());
}

// With changes pending, Yes sends them for the old profile before the
// switch; No drops them (the store goes back to the profile file) first.
TEST(SelectProfileTest, PendingChangesAreAppliedOrDiscardedBeforeTheSwitch)
{
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        SwitchRig rig;
        const std::string applied = TempDir::Read(rig.ProfileFile());
        SetEntry(rig.store, 1, MappedKeyNumber(17), KeyAction{KeyAction::Key, 0, 0x1F});
        rig.profiles->SetChangesPending(true);
        rig.prompts.answers = {yes};

        ProfileSelection selection;
        EXPECT_TRUE(rig.profiles->SelectProfile(0, &selection));
        EXPECT_TRUE(selection.asked);
        EXPECT_EQ(rig.prompts.Keys(), std::vector<std::string>{"PROFILE_SELECT_PROMPT"});
        EXPECT_TRUE(rig.prompts.entries[0].question);
        EXPECT_FALSE(rig.profiles->ChangesPending());
        EXPECT_EQ(rig.keyboard.info[10], 0);
        const auto sent = rig.Sent();
        if (yes) {
            EXPECT_TRUE(selection.applied);
            // The edit went to block 1 (the old profile) before byte 10 changed.
            const auto block = std::find(sent.begin(), sent.end(), "8 512+512");
            const auto info = std::find_if(sent.begin(), sent.end(), [](auto& s) { return s.rfind("4 ", 0) == 0; });
            EXPECT_LT(block, info);
            EXPECT_EQ(EntryOf(rig.store, 1, MappedKeyNumber(17)).kind, KeyAction::Key);
        } else {
            EXPECT_TRUE(selection.discarded);
            EXPECT_FALSE(Sends(sent, "8 "));
            EXPECT_EQ(EntryOf(rig.store, 1, MappedKeyNumber(17)).kind, KeyAction::Default);
            std::string stored;
            ASSERT_TRUE(SerializeImage(rig.store, stored));
            EXPECT_EQ(stored, applied);
        }
    }
}

TEST(SelectProfileTest, TheManagersUnappliedChangesAskToo)
{
    SwitchRig rig;
    rig.managerOpen = true;
    rig.managerModified = true;
    rig.prompts.answers = {true};
    EXPECT_TRUE(rig.profiles->SelectProfile(2));
    EXPECT_EQ(rig.prompts.Keys(), std::vector<std::string>{"PROFILE_SELECT_PROMPT"});
    EXPECT_FALSE(Sends(rig.Sent(), "8 "));  // nothing of the main window was pending
    EXPECT_EQ(rig.keyboard.info[10], 2);
    EXPECT_TRUE(rig.tickedRows.empty());
}

TEST(SelectProfileTest, ASwitchDuringTheQuestionDoesNotAskAgain)
{
    SwitchRig rig;
    rig.profiles->SetChangesPending(true);
    ProfileSelection inner;
    rig.prompts.onAsk = [&] { EXPECT_TRUE(rig.profiles->SelectProfile(2, &inner)); };
    rig.prompts.answers = {false};
    ProfileSelection outer;
    EXPECT_TRUE(rig.profiles->SelectProfile(0, &outer));
    EXPECT_TRUE(outer.asked);
    EXPECT_TRUE(inner.accepted);
    EXPECT_FALSE(inner.asked);
    EXPECT_EQ(rig.prompts.Keys(), std::vector<std::string>{"PROFILE_SELECT_PROMPT"});
    EXPECT_EQ(rig.keyboard.info[10], 0);  // the outer switch came last
}

TEST(ProfileMenuTest, TicksTheActiveProfileAndNamesIt)
{
    const MapTextLookup texts = ProfileTexts();
    struct Case {
        int active;
        size_t ticked;
        std::string name;
    };
    for (const Case& c : {Case{-1, 0, "Default profile"}, Case{0, 2, "Profile 1"}, Case{2, 4, "Profile 3"},
                          Case{7, 0, "Default profile"}}) {
        SCOPED_TRACE(c.active);
        const ProfileMenu menu = BuildProfileMenu(texts, c.active);
        ASSERT_EQ(menu.items.size(), 5u);
        EXPECT_EQ(menu.items[0].id, 9000u);
        EXPECT_EQ(menu.items[0].text, "Default profile");
        EXPECT_TRUE(menu.items[1].separator);
        for (size_t i = 2; i < 5; ++i) {
            EXPECT_EQ(menu.items[i].id, 9001u + (i - 2));
            // Not the profile file's name, which all three share.
            EXPECT_EQ(menu.items[i].text, "Profile " + std::to_string(i - 1));
        }
        EXPECT_EQ(menu.tickedPosition, c.ticked);
        EXPECT_EQ(menu.profileName, c.name);
        EXPECT_EQ(menu.tooltip, "Current profile: " + c.name);
    }
}

TEST(ProfileMenuTest, MenuCommandsGiveTheIndexToSelect)
{
    EXPECT_EQ(ProfileMenu::ProfileOfCommand(9000), -1);
    EXPECT_EQ(ProfileMenu::ProfileOfCommand(9001), 0);
    EXPECT_EQ(ProfileMenu::ProfileOfCommand(9003), 2);
    EXPECT_EQ(ProfileMenu::ProfileOfCommand(9200), 199);
    EXPECT_EQ(ProfileMenu::ProfileOfCommand(8999), std::nullopt);
    EXPECT_EQ(ProfileMenu::ProfileOfCommand(9201), std::nullopt);
}

}  // namespace
}  // namespace trevolin::profiles::test
