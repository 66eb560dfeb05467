#include "core/macros/MacroList.h"
#include "core/profiles/StoreMacroList.h"

#include <gtest/gtest.h>

#include <vector>

namespace trevolin::profiles {
namespace {

using macros::Macro;
using macros::MacroEvent;
using macros::NewMacro;

Macro Make(uint16_t id, std::u16string name, uint16_t isNew = 0)
{
    Macro m;
    m.id = id;
    m.name = std::move(name);
    m.isNew = isNew;
    m.events = {{20, 0x1E, MacroEvent::Press}, {0, 0x1E, MacroEvent::Release}};
    return m;
}

std::vector<uint16_t> StoredIds(ProfileStore& store)
{
    std::vector<Macro> list;
    EXPECT_TRUE(ReadMacroList(store, list));
    std::vector<uint16_t> ids;
    for (const auto& m : list)
        ids.push_back(m.id);
    return ids;
}

struct StoreMacroListTest : ::testing::Test {
    ProfileStore store;
};

TEST_F(StoreMacroListTest, LookupsFollowIdsThatNeedNotFollowTheListOrder)
{
    ASSERT_TRUE(CommitMacroList(store, std::vector{Make(1, u"One"), Make(5, u"Fünf"), Make(2, u"Two")}).committed);
    EXPECT_EQ(MacroPositionOfId(store, 1), 0);
    EXPECT_EQ(MacroPositionOfId(store, 5), 1);
    EXPECT_EQ(MacroPositionOfId(store, 2), 2);
    EXPECT_EQ(MacroPositionOfId(store, 3), 0);
    EXPECT_EQ(MacroIdAt(store, 1), 5);
    EXPECT_EQ(MacroIdAt(store, -1), 0);
    EXPECT_EQ(MacroIdAt(store, 3), 0);
    EXPECT_EQ(MacroNameOfId(store, 5), "Fünf");
    EXPECT_EQ(MacroNameOfId(store, 9), "");
}

TEST_F(StoreMacroListTest, KeysPlayAMacroOnAnyLayerByItsId)
{
    struct Case {
        size_t slot;
        uint16_t kind;
        uint32_t value;
        bool plays;
    };
    const Case cases[] = {
        {ProfileImage::SlotOf(0, 3), 4, 2, true},
        {ProfileImage::SlotOf(3, 511), 4, 2, true},      // the last entry of the table
        {ProfileImage::SlotOf(1, 3), 2, 2, false},       // a plain key whose value happens to be 2
        {ProfileImage::SlotOf(1, 3), 4, 3, false},       // another macro
        {ProfileImage::SlotOf(1, 3), 4, 0x10002, true},  // the id is the value's low 16 bits
    };
    for (const auto& c : cases) {
        ProfileStore fresh;
        fresh.Image().SetEntryKind(c.slot, c.kind);
        fresh.Image().SetEntryValue(c.slot, c.value);
        EXPECT_EQ(KeysPlayMacro(fresh, 2), c.plays) << "slot " << c.slot << " value " << c.value;
    }
}

// Keys bound to macros, one per rule of the commit.
TEST_F(StoreMacroListTest, CommitRebindsOrResetsTheKeysOfEveryProfile)
{
    ASSERT_TRUE(CommitMacroList(store, std::vector{Make(1, u"a"), Make(2, u"b"), Make(3, u"old three")}).committed);
    auto& image = store.Image();
    struct Key {
        size_t slot;
        uint16_t kind;
        uint32_t value;
        uint16_t kindAfter;
        uint32_t valueAfter;
    };
    const Key keys[] = {
        {ProfileImage::SlotOf(0, 30), 4, 3, 0, 3},   // played the deleted macro 3: default again
        {ProfileImage::SlotOf(1, 31), 4, 0, 4, 1},   // no macro chosen: bound to the first one
        {ProfileImage::SlotOf(2, 32), 4, 2, 4, 2},   // its macro is still there
        {ProfileImage::SlotOf(2, 33), 4, 7, 0, 7},   // no macro 7 at all
        {ProfileImage::SlotOf(0, 34), 2, 3, 2, 3},   // a plain key whose value happens to be 3
        {ProfileImage::SlotOf(3, 511), 4, 3, 0, 3},  // the fourth layer is repaired too
    };
    for (const auto& k : keys) {
        image.SetEntryKind(k.slot, k.kind);
        image.SetEntryValue(k.slot, k.value);
    }

    // The dialog deletes macro 3 and adds one, which reuses the free id 3.
    std::vector<Macro> edited{Make(1, u"a"), Make(2, u"b")};
    edited.push_back(*NewMacro(edited, u"new three"));
    ASSERT_EQ(edited.back().id, 3);

    const auto result = CommitMacroList(store, edited);
    EXPECT_TRUE(result.committed);
    EXPECT_TRUE(result.keysChanged);
    for (const auto& k : keys) {
        EXPECT_EQ(image.EntryKind(k.slot), k.kindAfter) << "slot " << k.slot;
        EXPECT_EQ(image.EntryValue(k.slot), k.valueAfter) << "slot " << k.slot;
    }

    std::vector<Macro> stored;
    ASSERT_TRUE(ReadMacroList(store, stored));
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[2].name, u"new three");
    for (const auto& m : stored)
        EXPECT_EQ(m.isNew, 0) << "committed macros are no longer new";
    EXPECT_EQ(stored[0].events, edited[0].events);

    // Committing the same list again changes no key.
    EXPECT_FALSE(CommitMacroList(store, stored).keysChanged);
}

TEST_F(StoreMacroListTest, EmptyListResetsEveryMacroKey)
{
    ASSERT_TRUE(CommitMacroList(store, std::vector{Make(1, u"a")}).committed);
    store.Image().SetEntryKind(10, 4);
    store.Image().SetEntryValue(10, 0);
    store.Image().SetEntryKind(11, 4);
    store.Image().SetEntryValue(11, 1);
    const auto result = CommitMacroList(store, {});
    EXPECT_TRUE(result.committed);
    EXPECT_TRUE(result.keysChanged);
    EXPECT_EQ(store.Image().EntryKind(10), 0);
    EXPECT_EQ(store.Image().EntryKind(11), 0);
    EXPECT_EQ(store.Image().MacroCount(), 0);
}

TEST_F(StoreMacroListTest, ListLongerThanTheIdsAllowIsNotCommitted)
{
    ASSERT_TRUE(CommitMacroList(store, std::vector{Make(1, u"a")}).committed);
    store.Image().SetEntryKind(10, 4);
    store.Image().SetEntryValue(10, 1);
    std::vector<Macro> tooMany(101, Make(1, u"x"));
    const auto result = CommitMacroList(store, tooMany);
    EXPECT_FALSE(result.committed);
    EXPECT_FALSE(result.keysChanged);
    EXPECT_EQ(StoredIds(store), (std::vector<uint16_t>{1}));
    EXPECT_EQ(store.Image().EntryKind(10), 4);
}

}  // namespace
}  // namespace trevolin::profiles
