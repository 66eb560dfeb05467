#include "core/keys/KeyAction.h"
#include "core/keys/RawAction.h"
#include "core/profiles/KeyAssignment.h"

#include <gtest/gtest.h>

namespace trevolin::profiles {
namespace {

using keys::KeyAction;

KeyAction EntryOf(ProfileStore& store, int profile, uint16_t keyNumber)
{
    return *keys::TryReadKeyAction(store.Image().Entry(static_cast<size_t>(profile), keyNumber));
}

TEST(KeyAssignment, StoresWhatTheAssignmentDialogStores)
{
    ProfileStore store;
    struct Case {
        const char* name;
        int profile;
        uint16_t keyNumber;
        KeyChoice choice;
        KeyAction expected;  // kind, extra, value
    } cases[] = {
        {"a key", 1, 0x1E, {KeyAction::Key, 0x30, 1}, {KeyAction::Key, 0, 0x30}},
        {"a key assigned to itself", 1, 0x1E, {KeyAction::Key, 0x1E, 1}, {KeyAction::Default, 0, 0x1E}},
        {"a mouse button on a G key", 0, 0x100, {KeyAction::Key, 0x172, 1}, {KeyAction::Key, 0x301, 0x172}},
        {"a macro on a bank-2 G key", 2, 0x109, {KeyAction::Macro, 7, 3}, {KeyAction::Macro, 3, 7}},
        {"media on a G key of bank 2", 0, 0x111, {KeyAction::Media, 6, 1}, {KeyAction::Media, 0x1309, 6}},
        {"a keyboard function", 0, 0x3B, {KeyAction::Function, 10, 1}, {KeyAction::Function, 0, 10}},
        {"back to default", 1, 0x1E, {KeyAction::Default, 99, 1}, {KeyAction::Default, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto stored = StoreKeyAssignment(store, c.profile, c.keyNumber, c.choice);
        ASSERT_TRUE(stored);
        const auto entry = EntryOf(store, c.profile, c.keyNumber);
        EXPECT_EQ(entry, *stored);
        EXPECT_EQ(entry.kind, c.expected.kind);
        EXPECT_EQ(entry.extra, c.expected.extra);
        EXPECT_EQ(entry.value, c.expected.value);
    }
    EXPECT_FALSE(StoreKeyAssignment(store, 3, 0x1E, {}));
    EXPECT_FALSE(StoreKeyAssignment(store, -1, 0x1E, {}));
    EXPECT_FALSE(StoreKeyAssignment(store, 0, 512, {}));
}

TEST(KeyAssignment, ReleasesTheOldTextAndKeepsTheRestOfTheEntry)
{
    ProfileStore store;
    const size_t slot = ProfileImage::SlotOf(0, 0x20);
    KeyAction launch;
    launch.kind = KeyAction::LaunchProgram;
    launch.selectionFlag = 0xAABBCCDD;
    launch.reserved = 0x11223344;
    EXPECT_TRUE(keys::TryWriteKeyAction(launch, store.Image().Entry(slot)));
    ASSERT_TRUE(store.Texts().Set(slot, u"/usr/bin/true"));

    StoreKeyAssignment(store, 0, 0x20, {KeyAction::Media, 1, 1});
    EXPECT_FALSE(store.Texts().HasText(slot));
    EXPECT_EQ(store.Texts().TotalBytes(), 0u);
    const auto entry = EntryOf(store, 0, 0x20);
    EXPECT_EQ(entry.selectionFlag, 0xAABBCCDDu);
    EXPECT_EQ(entry.reserved, 0x11223344u);
}

TEST(KeyAssignment, AnyChoiceReplacesACodeKeptRaw)
{
    // The power code reads as "disabled" to programs that do not keep raw
    // codes; choosing "disabled" must still send 00 00 00, not the code.
    for (const uint16_t kind : {KeyAction::Disabled, KeyAction::Default, KeyAction::StopMacro}) {
        ProfileStore store;
        KeyAction raw = keys::RawKeyAction({0x04, 0x81, 0x00});
        raw.selectionFlag = 0xAABBCCDD;
        EXPECT_TRUE(keys::TryWriteKeyAction(raw, store.Image().Entry(ProfileImage::SlotOf(0, 0x20))));

        StoreKeyAssignment(store, 0, 0x20, {kind, 0, 1});
        const auto entry = EntryOf(store, 0, 0x20);
        EXPECT_FALSE(keys::RawCodeOf(entry)) << kind;
        EXPECT_EQ(entry.reserved, 0u) << kind;
        EXPECT_EQ(entry.selectionFlag, 0xAABBCCDDu) << kind;
    }
}

TEST(KeyAssignment, StoresARawCode)
{
    ProfileStore store;
    const auto stored = StoreRawKeyAssignment(store, 2, 0x101, {0x03, 0x34, 0x12});
    ASSERT_TRUE(stored);
    const auto entry = EntryOf(store, 2, 0x101);
    EXPECT_EQ(entry, *stored);
    EXPECT_EQ(keys::RawCodeOf(entry), (keys::ActionCode{0x03, 0x34, 0x12}));
    EXPECT_EQ(entry.extra, 0x302);  // G2 keeps its marker
    EXPECT_FALSE(StoreRawKeyAssignment(store, 3, 0x1E, {0x03, 0x34, 0x12}));
}

}  // namespace
}  // namespace trevolin::profiles
