#include "core/lighting/EffectList.h"
#include "support/MapTextLookup.h"

#include <gtest/gtest.h>

namespace trevolin::lighting {
namespace {

TEST(EffectListTest, EmptySlotsAreSkippedWithoutEndingTheList)
{
    std::array<uint8_t, EffectList::SlotCount> slots{};
    slots[0] = 1;
    slots[3] = 2;
    slots[31] = 20;  // after a run of empty slots, in the last slot
    EffectList list;
    list.Build(slots);

    EXPECT_EQ(list.Effects(), (std::vector<uint8_t>{1, 2, 20}));
    test::MapTextLookup texts;
    texts.mode["1"] = "Wave";
    texts.mode["20"] = "Per-key colors";
    EXPECT_EQ(list.Names(texts), (std::vector<std::string>{"Wave", "#Error", "Per-key colors"}));
}

TEST(EffectListTest, LookupFindsTheFirstEntryOfAnEffect)
{
    std::array<uint8_t, EffectList::SlotCount> slots{};
    slots[0] = 5;
    slots[1] = 7;
    slots[2] = 5;
    EffectList list;
    list.Build(slots);

    EXPECT_EQ(list.LookupIndex(5), 0);
    EXPECT_EQ(list.LookupIndex(7), 1);
    EXPECT_EQ(list.LookupIndex(9), -1);
    EXPECT_EQ(list.LookupIndex(0), -1);  // empty slots are no entries
    EXPECT_EQ(list.EffectAt(2), 5);
    EXPECT_EQ(list.EffectAt(3), std::nullopt);
    EXPECT_EQ(list.EffectAt(-1), std::nullopt);

    list.Clear();
    EXPECT_EQ(list.Size(), 0u);
    EXPECT_FALSE(list.Contains(5));
}

}  // namespace
}  // namespace trevolin::lighting
