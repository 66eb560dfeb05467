#include "core/macros/MacroList.h"
#include "core/macros/MacroNameCounter.h"
#include "core/profiles/ProfileStore.h"
#include "support/ManualClock.h"
#include "support/MapTextLookup.h"

#include <gtest/gtest.h>

#include <vector>

namespace trevolin::macros {
namespace {

using profiles::ProfileImage;

Macro Make(uint16_t id, std::u16string name, uint16_t isNew = 0)
{
    Macro m;
    m.id = id;
    m.name = std::move(name);
    m.isNew = isNew;
    m.events = {{20, 0x1E, MacroEvent::Press}, {0, 0x1E, MacroEvent::Release}};
    return m;
}

std::vector<uint16_t> StoredIds(profiles::ProfileStore& store)
{
    std::vector<Macro> list;
    EXPECT_TRUE(ReadMacroList(store, list));
    std::vector<uint16_t> ids;
    for (const auto& m : list)
        ids.push_back(m.id);
    return ids;
}

struct MacroListTest : ::testing::Test {
    profiles::ProfileStore store;
};

TEST_F(MacroListTest, LookupsFollowIdsThatNeedNotFollowTheListOrder)
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

TEST_F(MacroListTest, NewMacroTakesTheSmallestFreeId)
{
    const std::vector list{Make(1, u"a"), Make(5, u"b"), Make(2, u"c")};
    const auto macro = NewMacro(list, u"Macro 4");
    ASSERT_TRUE(macro);
    EXPECT_EQ(macro->id, 3);
    EXPECT_EQ(macro->isNew, 1);
    EXPECT_EQ(macro->playCount, 1);
    EXPECT_TRUE(macro->events.empty());
    EXPECT_EQ(macro->name, u"Macro 4");
    EXPECT_EQ(NewMacro({}, std::u16string(260, u'y'))->name.size(), 249u);

    std::vector<Macro> full;
    for (uint16_t id = 1; id <= 100; ++id)
        full.push_back(Make(id, u"m"));
    EXPECT_FALSE(NewMacro(full, u"one too many"));
}

// Keys bound to macros, one per rule of the commit.
TEST_F(MacroListTest, CommitRebindsOrResetsTheKeysOfEveryProfile)
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

TEST_F(MacroListTest, EmptyListResetsEveryMacroKey)
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

TEST_F(MacroListTest, ListLongerThanTheIdsAllowIsNotCommitted)
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

struct DefaultNames : ::testing::Test {
    test::MapTextLookup texts{{"MACRO_NEW_PREFIX", "Macro "}};
    test::ManualClock clock;
    MacroNameCounter counter;
};

TEST_F(DefaultNames, EmptyListStartsAtOneWithoutWaiting)
{
    for (int i = 0; i < 4; ++i)
        counter.NextName(std::vector{Make(1, u"x")}, texts, clock);
    EXPECT_EQ(counter.NextName({}, texts, clock), u"Macro 1");
    EXPECT_TRUE(clock.Sleeps().empty());
}

TEST_F(DefaultNames, TakenCandidatesArePassedOverSixteenMillisecondsApart)
{
    struct Case {
        std::vector<std::u16string> names;
        std::u16string expected;
        std::vector<uint32_t> sleeps;
    };
    const Case cases[] = {
        {{u"Other"}, u"Macro 1", {}},
        {{u"macro 1"}, u"Macro 2", {16}},                 // case does not matter
        {{u"Macro 10"}, u"Macro 2", {16}},                // a longer name that begins with the candidate
        {{u"Macro 1", u"MACRO 2", u"Macro 3x"}, u"Macro 4", {16, 16, 16}},
        {{u"Macro"}, u"Macro 1", {}},                     // the candidate is longer than the name
    };
    for (const auto& c : cases) {
        test::ManualClock fresh;
        MacroNameCounter fromZero;
        std::vector<Macro> list;
        for (const auto& name : c.names)
            list.push_back(Make(static_cast<uint16_t>(list.size() + 1), name));
        EXPECT_EQ(fromZero.NextName(list, texts, fresh), c.expected);
        EXPECT_EQ(fresh.Sleeps(), c.sleeps);
    }
}

TEST_F(DefaultNames, CounterGoesOnWhileTheListIsNotEmpty)
{
    std::vector<Macro> list{Make(1, u"Mine")};
    EXPECT_EQ(counter.NextName(list, texts, clock), u"Macro 1");
    EXPECT_EQ(counter.NextName(list, texts, clock), u"Macro 2");
    EXPECT_EQ(counter.Value(), 2);
}

TEST_F(DefaultNames, PrefixIsShownAsWrittenAndNeverUsedAsAFormat)
{
    texts.text["MACRO_NEW_PREFIX"] = "%s%n%d ";
    EXPECT_EQ(counter.NextName({}, texts, clock), u"%s%n%d 1");
}

TEST_F(DefaultNames, PrefixTooLongForTheRecordStillEnds)
{
    texts.text["MACRO_NEW_PREFIX"] = std::string(300, 'p');
    const std::vector list{Make(1, std::u16string(249, u'p'))};
    const auto name = counter.NextName(list, texts, clock);
    EXPECT_EQ(name.size(), 249u);
    EXPECT_LE(clock.Sleeps().size(), 250u);
}

TEST(MacroLookup, AMacroIsFoundByIdFirstThenByName)
{
    std::vector<Macro> list(3);
    list[0].id = 4;
    list[0].name = u"7";
    list[1].id = 7;
    list[1].name = u"Copy";
    list[2].id = 9;
    list[2].name = u"Grüße";
    EXPECT_EQ(FindMacroByIdOrName(list, "7"), 1u);      // the id wins over a name "7"
    EXPECT_EQ(FindMacroByIdOrName(list, "Copy"), 1u);
    EXPECT_EQ(FindMacroByIdOrName(list, "Grüße"), 2u);
    EXPECT_EQ(FindMacroByIdOrName(list, "copy"), std::nullopt);  // names match exactly
    EXPECT_EQ(FindMacroByIdOrName(list, "5"), std::nullopt);
    EXPECT_EQ(FindMacroByIdOrName(list, ""), std::nullopt);
}

}  // namespace
}  // namespace trevolin::macros
