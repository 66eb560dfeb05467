#include "core/keyboard/KeyConversions.h"
#include "core/keyboard/MacroKeyList.h"

#include <gtest/gtest.h>

#include <set>

namespace trevolin::keyboard {
namespace {

TEST(MacroKeyList, EveryPositionStoresADistinctKeyOfThatId)
{
    std::set<uint16_t> scans;
    for (size_t position = 0; position < MacroKeyCount; ++position) {
        const uint16_t scan = MacroKeyScan(position);
        EXPECT_NE(scan, 0) << position;
        EXPECT_EQ(KeyIdFromScan(scan), position);
        EXPECT_EQ(MacroKeyId(position), position);
        scans.insert(scan);
    }
    EXPECT_EQ(scans.size(), MacroKeyCount);
}

TEST(MacroKeyList, Positions)
{
    EXPECT_EQ(MacroKeyScan(0x00), 0x1E);   // A comes first
    EXPECT_EQ(MacroKeyScan(0x4F), 0x145);  // Num Lock
    EXPECT_EQ(MacroKeyScan(0x67), 0x36);   // Right Shift, never its twin 0x136
    EXPECT_EQ(MacroKeyScan(0x69), 0x15C);  // Right Win is last
    EXPECT_EQ(MacroKeyScan(MacroKeyCount), 0);
    EXPECT_EQ(MacroKeyId(MacroKeyCount), std::nullopt);
}

}  // namespace
}  // namespace trevolin::keyboard
