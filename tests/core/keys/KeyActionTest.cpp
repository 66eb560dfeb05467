#include "core/keys/KeyAction.h"
#include "core/keys/KeyTable.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace trevolin::keys {
namespace {

TEST(KeyAction, RecordIsLittleEndianFieldByField)
{
    const std::array<uint8_t, KeyActionSize> bytes = {0x04, 0x00, 0x05, 0x01, 0x07, 0x06, 0x05, 0x04,
                                                      0x0B, 0x0A, 0x09, 0x08, 0x0F, 0x0E, 0x0D, 0x0C};
    const KeyAction action = ReadKeyAction(bytes);
    EXPECT_EQ(action.kind, 4);
    EXPECT_EQ(action.extra, 0x0105);
    EXPECT_EQ(action.value, 0x04050607u);
    EXPECT_EQ(action.selectionFlag, 0x08090A0Bu);
    EXPECT_EQ(action.reserved, 0x0C0D0E0Fu);

    std::array<uint8_t, KeyActionSize> written{};
    WriteKeyAction(action, written);
    EXPECT_EQ(written, bytes);
}

TEST(KeyAction, BytesOfAnyOtherSizeAreNeitherReadNorWritten)
{
    std::vector<uint8_t> shortBytes(15, 0xAA);
    std::vector<uint8_t> longBytes(17, 0xAA);
    EXPECT_FALSE(TryReadKeyAction(shortBytes));
    EXPECT_FALSE(TryReadKeyAction({}));
    EXPECT_FALSE(TryWriteKeyAction(KeyAction{}, shortBytes));
    EXPECT_FALSE(TryWriteKeyAction(KeyAction{}, longBytes));
    EXPECT_EQ(shortBytes, std::vector<uint8_t>(15, 0xAA));
    EXPECT_EQ(longBytes, std::vector<uint8_t>(17, 0xAA));

    std::vector<uint8_t> exact(16, 0xAA);
    KeyAction action;
    action.kind = KeyAction::Media;
    action.value = 7;
    ASSERT_TRUE(TryWriteKeyAction(action, exact));
    EXPECT_EQ(TryReadKeyAction(exact), action);
}

TEST(KeyTable, NewTableHoldsOnlyTheGKeyMarkersOfBlockZero)
{
    const KeyTable table = KeyTable::New();
    for (size_t index = 0; index < KeyTableEntryCount; ++index) {
        KeyAction expected;
        if (index >= 256 && index <= 264)
            expected.extra = static_cast<uint16_t>(0x301 + index - 256);
        if (index >= 265 && index <= 273)
            expected.extra = static_cast<uint16_t>(0x1301 + index - 265);
        ASSERT_EQ(*table.Entry(index), expected) << index;
    }
}

TEST(KeyTable, GKeyMarkers)
{
    EXPECT_EQ(GKeyMarker(255), 0);
    EXPECT_EQ(GKeyMarker(256), 0x301);  // G1, bank 0
    EXPECT_EQ(GKeyMarker(264), 0x309);  // G9, bank 0
    EXPECT_EQ(GKeyMarker(265), 0x1301);
    EXPECT_EQ(GKeyMarker(273), 0x1309);
    EXPECT_EQ(GKeyMarker(274), 0);
    EXPECT_EQ(GKeyMarker(256 + 512), 0);  // an index of the whole table is no key number
}

TEST(KeyTable, EntryAreaPlacesEntryEAtByteSixteenE)
{
    std::vector<uint8_t> area(KeyTableBytes, 0);
    const size_t index = 1 * 512 + 0x1E;  // the A key in profile 1
    area[index * 16] = 0x02;
    area[index * 16 + 4] = 0x2A;
    area[KeyTableBytes - 1] = 0x80;  // reserved field of the last entry

    const KeyTable table = KeyTable::FromBytes(std::span<const uint8_t, KeyTableBytes>(area));
    EXPECT_EQ(table.Block(1)->at(0x1E).kind, KeyAction::Key);
    EXPECT_EQ(table.Block(1)->at(0x1E).value, 0x2Au);
    EXPECT_EQ(table.Block(3)->at(511).reserved, 0x80000000u);

    std::vector<uint8_t> back(KeyTableBytes, 0xEE);
    table.ToBytes(std::span<uint8_t, KeyTableBytes>(back));
    EXPECT_EQ(back, area);
}

TEST(KeyTable, NothingPastTheTable)
{
    KeyTable table;
    EXPECT_EQ(table.Block(4), nullptr);
    EXPECT_EQ(table.Entry(KeyTableEntryCount), nullptr);
    EXPECT_NE(table.Entry(KeyTableEntryCount - 1), nullptr);
}

}  // namespace
}  // namespace trevolin::keys
