// The main window's key buttons and Apply button as the profile operations
// drive them.
#include "ProfilesTestSupport.h"

#include "core/keyboard/KeyboardLayout.h"

#include <gtest/gtest.h>

#include <map>

namespace trevolin::profiles::test {
namespace {

using keys::KeyAction;

struct RecordingKeyButtons final : keys::KeyButtonView {
    void ShowKeyLook(uint16_t controlId, const keys::KeyLook& look) override
    {
        looks[controlId] = look;
        ++shown;
    }
    void EnableApply() override { ++enabled; }
    std::map<uint16_t, keys::KeyLook> looks;
    size_t shown = 0;
    int enabled = 0;
};

TEST(ProfileKeyButtonsTest, LoadingShowsTheActiveProfileAndResettingMakesChangesPending)
{
    FakeRig rig;
    RecordingKeyButtons view;
    KeyboardProfiles profiles(rig.store, rig.session, rig.folder, rig.texts, rig.prompts, &view);
    std::vector<bool> heard;
    profiles.SetPendingListener([&](bool pending) { heard.push_back(pending); });

    profiles.LoadFromKeyboard(false);
    EXPECT_EQ(view.shown, keyboard::GKeyCount + keyboard::LayoutKeyCount);
    EXPECT_EQ(heard, std::vector<bool>{false});

    // Profile 1 is active: its key is reset, profile 2's is kept.
    const size_t key = MappedKeyNumber(17);
    SetEntry(rig.store, 1, key, KeyAction{KeyAction::Key, 0, 0x1F});
    SetEntry(rig.store, 2, key, KeyAction{KeyAction::Key, 0, 0x1F});
    EXPECT_TRUE(profiles.ResetActiveProfileKeys());
    EXPECT_EQ(EntryOf(rig.store, 1, key), KeyAction{});
    EXPECT_EQ(EntryOf(rig.store, 2, key).kind, KeyAction::Key);
    EXPECT_TRUE(profiles.ChangesPending());
    EXPECT_EQ(view.enabled, 1);
    EXPECT_EQ(heard, (std::vector<bool>{false, true}));
}

TEST(ProfileKeyButtonsTest, WithoutAKeyboardNothingIsResetAndEveryKeyShowsUnassigned)
{
    FakeRig rig;
    rig.keyboard.statusOf[3] = 0xFF;  // the active profile cannot be read
    RecordingKeyButtons view;
    KeyboardProfiles profiles(rig.store, rig.session, rig.folder, rig.texts, rig.prompts, &view);
    SetEntry(rig.store, 0, MappedKeyNumber(17), KeyAction{KeyAction::Key, 0, 0x1F});
    profiles.RefreshKeyButtons();
    EXPECT_EQ(view.shown, keyboard::GKeyCount + keyboard::LayoutKeyCount);
    EXPECT_FALSE(profiles.ResetActiveProfileKeys());
    EXPECT_FALSE(profiles.ChangesPending());
    EXPECT_EQ(EntryOf(rig.store, 0, MappedKeyNumber(17)).kind, KeyAction::Key);
}

}  // namespace
}  // namespace trevolin::profiles::test
