#include "core/keyboard/KeyCodeTable.h"
#include "core/keyboard/KeyConversions.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace trevolin::keyboard {
namespace {

TEST(KeyCodeTable, RowIndexAndScanValueRoundTrip)
{
    for (uint32_t index = 0; index < KeyCodeRowCount; ++index)
        EXPECT_EQ(ScanToIndex(IndexToScan(index)), index) << index;

    EXPECT_EQ(ScanToIndex(0x145), 197u);  // Num Lock counts as extended
    EXPECT_EQ(ScanToIndex(0x45), 69u);    // and Pause as plain
    EXPECT_EQ(IndexToScan(183), 0x137);
    EXPECT_EQ(IndexToScan(241), 0x171);
    EXPECT_EQ(IndexToScan(256), 0);
}

TEST(KeyCodeTable, ScanValuesBeyondTheTableReadAsEmptyRows)
{
    // G-key numbers and stored junk reach the conversions too.
    for (uint32_t scan : {0x200u, 0x211u, 0x2FFu, 0xFFFFu, 0x10037u, 0xFFFFFFFFu}) {
        EXPECT_TRUE(KeyCodeOfScan(scan).isEmpty()) << std::hex << scan;
        EXPECT_EQ(KeyIdFromScan(scan), KeyCode::EmptyKeyId);
        EXPECT_EQ(ActionFromScan(scan), KeyActionPair{});
    }
    EXPECT_TRUE(KeyCodeRow(256).isEmpty());
}

TEST(KeyCodeTable, KeyIdsNameOneRowEachExceptRightShiftsTwin)
{
    std::map<uint16_t, std::vector<uint32_t>> rowsById;
    for (uint32_t index = 0; index < KeyCodeRowCount; ++index) {
        const KeyCode& row = KeyCodeRow(index);
        if (!row.isEmpty())
            rowsById[row.keyId].push_back(index);
    }
    for (const auto& [id, rows] : rowsById) {
        if (id == 0x0067) {
            EXPECT_EQ(rows, (std::vector<uint32_t>{54, 182}));
        } else {
            EXPECT_EQ(rows.size(), 1u) << std::hex << id;
        }
    }
    // The physical keys are numbered without gaps; 0x6A is unused.
    for (uint16_t id = 0; id <= 0x6F; ++id)
        EXPECT_EQ(rowsById.count(id), id == 0x6A ? 0u : 1u) << std::hex << id;
}

TEST(KeyCodeTable, DeviceCodesNameOneKeyEachExceptPauseAndRightShift)
{
    std::map<uint8_t, std::vector<uint32_t>> rowsByCode;
    for (uint32_t index = 0; index < KeyCodeRowCount; ++index) {
        const KeyCode& row = KeyCodeRow(index);
        if (!row.isEmpty() && row.deviceCode != 0)
            rowsByCode[row.deviceCode].push_back(index);
    }
    for (const auto& [code, rows] : rowsByCode) {
        if (code == 0x48) {
            EXPECT_EQ(rows, (std::vector<uint32_t>{69, 198}));  // Pause, Break
        } else if (code == 0xE5) {
            EXPECT_EQ(rows, (std::vector<uint32_t>{54, 182}));
        } else {
            EXPECT_EQ(rows.size(), 1u) << std::hex << int(code);
        }
    }
}

TEST(KeyCodeTable, OnlyTheKeypadHasAlternateVirtualKeys)
{
    const std::map<uint32_t, uint8_t> numLockOff = {
        {71, 0x24}, {72, 0x26}, {73, 0x21}, {75, 0x25}, {76, 0x0C}, {77, 0x27},
        {79, 0x23}, {80, 0x28}, {81, 0x22}, {82, 0x2D}, {83, 0x2E},
    };
    for (uint32_t index = 0; index < KeyCodeRowCount; ++index) {
        const KeyCode& row = KeyCodeRow(index);
        const auto it = numLockOff.find(index);
        EXPECT_EQ(row.alternateVk, it == numLockOff.end() ? row.vk : it->second) << index;
    }
}

TEST(KeyCodeTable, VirtualKeyTableFindsARowCarryingTheKey)
{
    for (uint32_t index = 1; index < KeyCodeRowCount; ++index) {
        const KeyCode& row = KeyCodeRow(index);
        if (row.isEmpty() || row.vk == NoVk || row.vk == 0x01 || row.vk == 0x02 || row.vk == 0x04)
            continue;
        EXPECT_EQ(KeyCodeRow(VkTableEntry(row.vk)).vk, row.vk) << "row " << index;
    }

    struct Case {
        uint32_t vk;
        uint8_t row;
    };
    const Case cases[] = {
        // clang-format off
        {0x10, 42},   // VK_SHIFT: left Shift
        {0x11, 29},   // VK_CONTROL: left Ctrl
        {0x12, 56},   // VK_MENU: left Alt
        {0x0D, 28},   // VK_RETURN: main Enter
        {0xA1, 54},   // VK_RSHIFT
        {0x2C, 183},  // VK_SNAPSHOT: Print Screen, not Sys Req
        {0x01, 0},    // mouse buttons are not keys
        {0x02, 0},
        {0x04, 0},
        {0xFF, 0},
        {0x0C, 0},    // only an alternate VK
        {0x100, 0},
        // clang-format on
    };
    for (const Case& c : cases)
        EXPECT_EQ(VkTableEntry(c.vk), c.row) << std::hex << c.vk;
}

TEST(KeyCodeTable, ConsumerTableHoldsEighteenDistinctUsages)
{
    std::set<uint16_t> usages;
    for (uint32_t position = 0; position < ConsumerTableSize; ++position) {
        const uint16_t usage = ConsumerUsageAt(position);
        EXPECT_EQ(usage != 0, position < 18) << position;
        if (usage != 0)
            usages.insert(usage);
    }
    EXPECT_EQ(usages.size(), 18u);
    EXPECT_EQ(ConsumerUsageAt(13), 0x00E2);  // mute is device code 0xCD
    EXPECT_EQ(ConsumerUsageAt(32), 0);
}

}  // namespace
}  // namespace trevolin::keyboard
