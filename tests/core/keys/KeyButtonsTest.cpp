#include "core/device/FactoryKeymap.h"
#include "core/keyboard/KeyboardLayout.h"
#include "core/keys/KeyButtons.h"
#include "core/keys/KeyTable.h"

#include "support/MapTextLookup.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

namespace trevolin::keys {
namespace {

// The key table of a profile image, which notes any access made without
// the store lock.
class FakeStore : public KeyTableStore {
public:
    std::recursive_mutex& StoreLock() override { return mutex; }

    std::span<uint8_t> EntryBytes(size_t layer, size_t entry) override
    {
        if (!HeldByCaller())
            ++unlockedAccesses;
        if (!hasImage || layer >= KeyTableBlockCount || entry >= KeyBlockEntryCount)
            return {};
        return std::span<uint8_t>(bytes).subspan((layer * KeyBlockEntryCount + entry) * KeyActionSize, KeyActionSize);
    }

    KeyAction Get(size_t layer, size_t entry) const
    {
        return ReadKeyAction(std::span<const uint8_t>(bytes)
                                 .subspan((layer * KeyBlockEntryCount + entry) * KeyActionSize)
                                 .first<KeyActionSize>());
    }

    void Set(size_t layer, size_t entry, const KeyAction& action)
    {
        WriteKeyAction(action, std::span<uint8_t>(bytes)
                                   .subspan((layer * KeyBlockEntryCount + entry) * KeyActionSize)
                                   .first<KeyActionSize>());
    }

    std::vector<uint8_t> bytes = std::vector<uint8_t>(KeyTableBytes, 0);
    bool hasImage = true;
    int unlockedAccesses = 0;

private:
    bool HeldByCaller()
    {
        bool free = false;
        std::thread other([&] {
            free = mutex.try_lock();
            if (free)
                mutex.unlock();
        });
        other.join();
        return !free;
    }

    std::recursive_mutex mutex;
};

class RecordingView : public KeyButtonView {
public:
    void ShowKeyLook(uint16_t controlId, const KeyLook& look) override { shown.emplace_back(controlId, look); }
    void EnableApply() override { ++applyEnabled; }

    std::vector<std::pair<uint16_t, KeyLook>> shown;
    int applyEnabled = 0;
};

KeyAction Act(uint16_t kind, uint32_t value = 0)
{
    KeyAction action;
    action.kind = kind;
    action.value = value;
    return action;
}

constexpr size_t AKey = 0x1E;

class KeyButtonsTest : public ::testing::Test {
protected:
    KeyButtonsTest()
        : texts{{"IDS_KEYBOARD_A", "A"},
                {"IDS_KEYBOARD_LSHIFT", "Shift"},
                {"KEY_PROMPT_SET", " - "},
                {"KEY_PROMPT_SINGLE", "key: "},
                {"KEY_PROMPT_FUNCTION", "function: "},
                {"FUNC_KEY_DESC8", "Lock Win"},
                {"KEY_PROMPT_STOP_MACRO", "stop macro"}},
          buttons(store, texts, view,
                  {[this] { return activeProfile; }, [this] { return bankB; }, [](uint16_t) { return std::string(); },
                   nullptr})
    {
    }

    std::vector<uint16_t> ShownIds() const
    {
        std::vector<uint16_t> ids;
        for (const auto& [id, look] : view.shown)
            ids.push_back(id);
        return ids;
    }

    static std::vector<uint16_t> ExpectedIds()
    {
        const auto gIds = keyboard::GKeyControlIds();
        std::vector<uint16_t> ids(gIds.begin(), gIds.end());
        for (const keyboard::LayoutKey& key : keyboard::LayoutKeys())
            ids.push_back(key.controlId);
        return ids;
    }

    KeyLook LookOf(uint16_t controlId) const
    {
        for (const auto& [id, look] : view.shown)
            if (id == controlId)
                return look;
        return {};
    }

    size_t AssignedCount() const
    {
        size_t n = 0;
        for (const auto& [id, look] : view.shown)
            n += look.assigned ? 1 : 0;
        return n;
    }

    FakeStore store;
    test::MapTextLookup texts;
    RecordingView view;
    int activeProfile = 0;
    bool bankB = false;
    KeyButtons buttons;
};

TEST_F(KeyButtonsTest, RefreshShowsTheActiveProfileAndTheCurrentBank)
{
    store.Set(1, AKey, Act(KeyAction::Key, 0x2A));
    store.Set(1, 265, Act(KeyAction::Function, 7));  // G1, bank B
    store.Set(1, 256, Act(KeyAction::StopMacro));    // G1, bank A
    store.Set(0, AKey, Act(KeyAction::StopMacro));   // another profile
    activeProfile = 1;
    bankB = true;

    buttons.RefreshKeyButtons();
    EXPECT_EQ(ShownIds(), ExpectedIds());
    EXPECT_EQ(LookOf(1000), (KeyLook{true, "G1 - function: Lock Win"}));
    EXPECT_EQ(LookOf(1058), (KeyLook{true, "A - key: Shift"}));
    EXPECT_EQ(AssignedCount(), 2u);
    EXPECT_EQ(LookOf(1001), (KeyLook{false, "G2"}));
    EXPECT_EQ(store.unlockedAccesses, 0);

    view.shown.clear();
    bankB = false;
    buttons.RefreshKeyButtons();
    EXPECT_EQ(LookOf(1000), (KeyLook{true, "G1 - stop macro"}));
    EXPECT_EQ(view.applyEnabled, 0);
}

TEST_F(KeyButtonsTest, KeysWithoutAPositionInTheDefaultMapShowAsNotAvailable)
{
    // The built-in default map places A but neither the keypad nor the G
    // keys; this keyboard's map also places G1 of the shown bank.
    KeyMapBlock keyboardMap = device::BuiltInFactoryKeymap();
    keyboardMap[70 * 3] = 0x06;
    keyboardMap[70 * 3 + 1] = 0xA2;
    keyboardMap[70 * 3 + 2] = 0x01;
    KeyButtons::Sources sources{[] { return 0; }, [] { return false; }, nullptr,
                                [&keyboardMap] { return keyboardMap; }};
    KeyButtons withMap(store, texts, view, sources);

    for (const bool reset : {false, true}) {
        view.shown.clear();
        if (reset)
            ASSERT_TRUE(withMap.ResetActiveProfileKeys());
        else
            withMap.RefreshKeyButtons();
        ASSERT_EQ(ShownIds(), ExpectedIds());
        EXPECT_TRUE(LookOf(1058).available) << reset;   // A
        EXPECT_TRUE(LookOf(1000).available) << reset;   // G1
        EXPECT_FALSE(LookOf(1001).available) << reset;  // G2
        EXPECT_FALSE(LookOf(1108).available) << reset;  // Num7
        EXPECT_FALSE(LookOf(1118).available) << reset;  // NumEnter
    }
    // Without a map to ask, every key is taken as available.
    view.shown.clear();
    buttons.RefreshKeyButtons();
    EXPECT_TRUE(LookOf(1108).available);
}

TEST_F(KeyButtonsTest, WithoutAnActiveProfileEveryKeyShowsUnassigned)
{
    for (size_t layer = 0; layer < KeyTableBlockCount; ++layer) {
        store.Set(layer, AKey, Act(KeyAction::Key, 0x2A));
        store.Set(layer, 256, Act(KeyAction::StopMacro));
    }
    for (int profile : {-1, 3}) {
        view.shown.clear();
        activeProfile = profile;
        buttons.RefreshKeyButtons();
        EXPECT_EQ(ShownIds(), ExpectedIds()) << profile;
        EXPECT_EQ(AssignedCount(), 0u) << profile;
        EXPECT_EQ(LookOf(1058), (KeyLook{false, "A"})) << profile;
    }
}

TEST_F(KeyButtonsTest, AStoreWithoutAnImageShowsEveryKeyUnassigned)
{
    store.Set(0, AKey, Act(KeyAction::Key, 0x2A));
    store.hasImage = false;
    buttons.RefreshKeyButtons();
    EXPECT_EQ(ShownIds(), ExpectedIds());
    EXPECT_EQ(AssignedCount(), 0u);
}

TEST_F(KeyButtonsTest, ResetClearsTheShownKeysOfTheActiveProfileOnly)
{
    KeyAction used = Act(KeyAction::Disabled);
    used.extra = 0x301;
    used.selectionFlag = 1;
    used.reserved = 5;
    for (size_t layer = 0; layer < KeyTableBlockCount; ++layer)
        for (size_t entry = 0; entry < KeyBlockEntryCount; ++entry)
            store.Set(layer, entry, used);
    std::vector<uint8_t> expected = store.bytes;
    const auto clear = [&expected](size_t entry) {
        std::fill_n(expected.begin() + static_cast<std::ptrdiff_t>((2 * KeyBlockEntryCount + entry) * KeyActionSize),
                    KeyActionSize, 0);
    };
    for (const keyboard::LayoutKey& key : keyboard::LayoutKeys())
        clear(key.keyNumber);
    for (size_t entry = 256; entry <= 264; ++entry)  // bank A's G keys; bank B's stay
        clear(entry);
    activeProfile = 2;

    EXPECT_TRUE(buttons.ResetActiveProfileKeys());
    EXPECT_EQ(store.bytes, expected);
    EXPECT_EQ(store.unlockedAccesses, 0);
    EXPECT_EQ(ShownIds(), ExpectedIds());
    EXPECT_EQ(AssignedCount(), 0u);
    EXPECT_EQ(LookOf(1058), (KeyLook{false, "A"}));
    EXPECT_EQ(view.applyEnabled, 1);
}

// The command line resets a profile that is not active: the same keys of
// its block, and the buttons, which show the active profile, stay.
TEST_F(KeyButtonsTest, ResetOfAnotherProfileLeavesTheButtonsAlone)
{
    store.Set(1, AKey, Act(KeyAction::Key, 0x2A));
    store.Set(1, 256 + 9, Act(KeyAction::Key, 0x2B));  // G1 of bank B
    activeProfile = 0;
    EXPECT_TRUE(buttons.ResetProfileKeys(1));
    EXPECT_EQ(store.Get(1, AKey), KeyAction{});
    EXPECT_EQ(store.Get(1, 256 + 9), Act(KeyAction::Key, 0x2B));
    EXPECT_TRUE(view.shown.empty());
    EXPECT_EQ(view.applyEnabled, 1);
    EXPECT_FALSE(buttons.ResetProfileKeys(3));
}

TEST_F(KeyButtonsTest, ResetWithoutAnActiveProfileChangesNothing)
{
    store.Set(0, AKey, Act(KeyAction::Key, 0x2A));
    const std::vector<uint8_t> before = store.bytes;
    activeProfile = -1;
    EXPECT_FALSE(buttons.ResetActiveProfileKeys());
    EXPECT_EQ(store.bytes, before);
    EXPECT_TRUE(view.shown.empty());
    EXPECT_EQ(view.applyEnabled, 0);
}

}  // namespace
}  // namespace trevolin::keys
