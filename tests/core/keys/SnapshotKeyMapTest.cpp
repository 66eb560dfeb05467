#include "core/device/DeviceSession.h"
#include "core/device/FactoryKeymap.h"
#include "core/keys/SnapshotKeyMap.h"

#include "support/FakeHidLibrary.h"
#include "support/FakeKeyboard.h"
#include "support/ManualClock.h"
#include "support/RecordingMainWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace trevolin::keys {
namespace {

class FakeSnapshot : public SnapshotKeyTable {
public:
    std::recursive_mutex& SnapshotLock() const override { return mutex; }

    std::span<const uint8_t> EntryBytes(size_t layer, size_t entry) const override
    {
        if (layer >= KeyTableBlockCount || entry >= KeyBlockEntryCount || (layer == brokenLayer && entry == 300))
            return {};
        return std::span<const uint8_t>(bytes).subspan((layer * KeyBlockEntryCount + entry) * KeyActionSize,
                                                       KeyActionSize);
    }

    void Set(size_t layer, size_t entry, const KeyAction& action)
    {
        WriteKeyAction(action, std::span<uint8_t>(bytes)
                                   .subspan((layer * KeyBlockEntryCount + entry) * KeyActionSize)
                                   .first<KeyActionSize>());
    }

    bool HeldByCaller() const
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

    std::vector<uint8_t> bytes = std::vector<uint8_t>(KeyTableBytes, 0);
    size_t brokenLayer = KeyTableBlockCount;  // a layer whose entry 300 cannot be handed over
    mutable std::recursive_mutex mutex;
};

KeyAction Act(uint16_t kind, uint32_t value = 0)
{
    KeyAction action;
    action.kind = kind;
    action.value = value;
    return action;
}

// The Esc key (key number 1) sits at position 8 of the built-in map.
constexpr size_t EscEntry = 1;
constexpr size_t EscPosition = 8;

class SnapshotKeyMapTest : public ::testing::Test {
protected:
    SnapshotKeyMapTest() : session(fake.Exports(), window, workers, clock) {}

    test::FakeKeyboard keyboard;
    test::FakeHidLibrary fake;
    test::RecordingMainWindow window;
    platform::InlineTaskRunner workers;
    test::ManualClock clock;
    device::DeviceSession session;
    FakeSnapshot snapshot;
};

TEST_F(SnapshotKeyMapTest, EncodesAgainstTheMapTheDeviceLinkHolds)
{
    snapshot.Set(1, EscEntry, Act(KeyAction::Key, 0x1E));
    snapshot.Set(0, EscEntry, Act(KeyAction::Disabled));

    // Before any keyboard: the built-in map.
    KeyMapBlock expected = device::BuiltInFactoryKeymap();
    expected[EscPosition * 3 + 2] = 0x04;
    EXPECT_EQ(EncodeKeyMapBlock(snapshot, 1, session.FactoryKeymap(), nullptr), expected);

    // A keyboard whose map has the Esc key at position 0 and nothing else.
    KeyMapBlock keyboardMap{};
    keyboardMap[0] = 0x02;
    keyboardMap[1] = 0x02;
    keyboardMap[2] = 0x29;
    keyboardMap[511] = 0x77;
    keyboard.defaultKeymap = keyboardMap;
    keyboard.AnswerFor(fake);
    ASSERT_TRUE(session.Start(false));
    ASSERT_EQ(session.FactoryKeymap(), keyboardMap);

    expected = keyboardMap;
    expected[2] = 0x04;
    EXPECT_EQ(EncodeKeyMapBlock(snapshot, 1, session.FactoryKeymap(), nullptr), expected);

    // The decoder reads against the same map.
    const KeyBlock back = DecodeKeyMapBlock(expected, session.FactoryKeymap(), 0);
    EXPECT_EQ(back[EscEntry], Act(KeyAction::Key, 0x1E));
}

TEST_F(SnapshotKeyMapTest, MacroPositionsAreLookedUpUnderTheSnapshotLock)
{
    snapshot.Set(2, EscEntry, Act(KeyAction::Macro, 5));
    std::vector<bool> heldDuringLookup;
    const auto lookup = [&](uint16_t id) {
        heldDuringLookup.push_back(snapshot.HeldByCaller());
        return id == 5 ? 2u : 0u;
    };
    const auto block = EncodeKeyMapBlock(snapshot, 2, session.FactoryKeymap(), lookup);
    ASSERT_TRUE(block);
    EXPECT_EQ((*block)[EscPosition * 3], 0x05);
    EXPECT_EQ((*block)[EscPosition * 3 + 1], 0x01);
    EXPECT_EQ((*block)[EscPosition * 3 + 2], 0x02);
    EXPECT_EQ(heldDuringLookup, std::vector<bool>{true});
    EXPECT_FALSE(snapshot.HeldByCaller());
}

TEST_F(SnapshotKeyMapTest, NoBlockForAProfileThatIsNoneOrAnEntryThatIsMissing)
{
    for (int profile : {-1, 3, 4})
        EXPECT_FALSE(EncodeKeyMapBlock(snapshot, profile, session.FactoryKeymap(), nullptr)) << profile;

    snapshot.brokenLayer = 1;
    EXPECT_FALSE(EncodeKeyMapBlock(snapshot, 1, session.FactoryKeymap(), nullptr));
    EXPECT_TRUE(EncodeKeyMapBlock(snapshot, 0, session.FactoryKeymap(), nullptr));
    EXPECT_FALSE(snapshot.HeldByCaller());
}

}  // namespace
}  // namespace trevolin::keys
