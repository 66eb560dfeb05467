#include "core/macros/MacroList.h"
#include "core/macros/MacroNameCounter.h"
#include "support/ManualClock.h"
#include "support/MapTextLookup.h"

#include <gtest/gtest.h>

#include <vector>

namespace trevolin::macros {
namespace {

Macro Make(uint16_t id, std::u16string name, uint16_t isNew = 0)
{
    Macro m;
    m.id = id;
    m.name = std::move(name);
    m.isNew = isNew;
    m.events = {{20, 0x1E, MacroEvent::Press}, {0, 0x1E, MacroEvent::Release}};
    return m;
}

TEST(MacroList, NewMacroTakesTheSmallestFreeId)
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
        {{u"macro 1"}, u"Macro 2", {16}},   // case does not matter
        {{u"Macro 10"}, u"Macro 2", {16}},  // a longer name that begins with the candidate
        {{u"Macro 1", u"MACRO 2", u"Macro 3x"}, u"Macro 4", {16, 16, 16}},
        {{u"Macro"}, u"Macro 1", {}},  // the candidate is longer than the name
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
    EXPECT_EQ(FindMacroByIdOrName(list, "7"), 1u);  // the id wins over a name "7"
    EXPECT_EQ(FindMacroByIdOrName(list, "Copy"), 1u);
    EXPECT_EQ(FindMacroByIdOrName(list, "Grüße"), 2u);
    EXPECT_EQ(FindMacroByIdOrName(list, "copy"), std::nullopt);  // names match exactly
    EXPECT_EQ(FindMacroByIdOrName(list, "5"), std::nullopt);
    EXPECT_EQ(FindMacroByIdOrName(list, ""), std::nullopt);
}

}  // namespace
}  // namespace trevolin::macros
