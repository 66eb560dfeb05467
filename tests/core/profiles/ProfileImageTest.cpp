#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileHeader.h"
#include "core/profiles/ProfileImage.h"
#include "core/profiles/ProfileLayout.h"
#include "core/profiles/ProfileStore.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trevolin::profiles {
namespace {

uint16_t Le16(std::span<const uint8_t> b, size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t Le32(std::span<const uint8_t> b, size_t at)
{
    return Le16(b, at) | (uint32_t{Le16(b, at + 2)} << 16);
}

TEST(ProfileImage, DefaultImageHasTheHeaderDescriptorAndGKeyMarkersOnlyInLayerZero)
{
    const auto image = ProfileImage::DefaultFixedPart(0);
    ASSERT_EQ(image.size(), 32832u);

    const std::vector<uint8_t> header(image.begin(), image.begin() + 32);
    const std::vector<uint8_t> expectedHeader = {
        0x46, 0x44, 0x20, 0x00, 0x03, 0x00, 0x01, 0x00,  // magic, 32, 3, 1
        0x40, 0x80, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00,  // total 32832, 2048 entries, 0 macros
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // no texts
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    };
    for (size_t i = 0; i < 31; ++i)
        EXPECT_EQ(header[i], expectedHeader[i]) << "header byte " << i;
    const auto sum = std::accumulate(header.begin(), header.begin() + 31, 0u);
    EXPECT_EQ(header[31], sum % 256);

    const std::vector<uint8_t> descriptor(image.begin() + 32, image.begin() + 64);
    const std::vector<uint8_t> expectedDescriptor = {
        0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00, 0x04, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00,
        0x45, 0x0C, 0x04, 0x50, 0x4F, 0x1C, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    };
    EXPECT_EQ(descriptor, expectedDescriptor);

    // Every entry byte is zero except the markers of entries 256 to 273 of layer 0.
    for (size_t slot = 0; slot < EntryCount; ++slot) {
        for (size_t b = 0; b < EntrySize; ++b) {
            const uint8_t byte = image[64 + slot * 16 + b];
            const bool marker = slot >= 256 && slot <= 273 && (b == 2 || b == 3);
            if (!marker) {
                ASSERT_EQ(byte, 0) << "slot " << slot << " byte " << b;
            }
        }
    }
    EXPECT_EQ(Le16(image, 64 + 256 * 16 + 2), 0x0301);
    EXPECT_EQ(Le16(image, 64 + 264 * 16 + 2), 0x0309);
    EXPECT_EQ(Le16(image, 64 + 265 * 16 + 2), 0x1301);
    EXPECT_EQ(Le16(image, 64 + 273 * 16 + 2), 0x1309);
}

TEST(ProfileImage, HeaderTotalCountsMacrosTextsAndTheFixedPart)
{
    struct Case {
        uint16_t macros;
        uint32_t texts;
        uint8_t flags;
        uint32_t total;
    };
    const Case cases[] = {
        {0, 0, 0, 32832},
        {1, 0, 0, 32832 + 32512},
        {2, 48, 1, 32832 + 2 * 32512 + 48},
        {100, 0x10000, 0, 32832 + 100 * 32512 + 0x10000},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes(32, 0xEE);
        BuildHeader(bytes, c.macros, c.texts, c.flags);
        const auto header = ProfileHeader::Read(bytes);
        EXPECT_EQ(header.totalSize, c.total);
        EXPECT_EQ(header.macroCount, c.macros);
        EXPECT_EQ(header.stringBytes, c.texts);
        EXPECT_EQ(header.flags, c.flags);
        EXPECT_EQ(Le32(bytes, 20), 0u);
        EXPECT_EQ(Le32(bytes, 24), 0u);
        EXPECT_EQ(Le16(bytes, 28), 0u);
        EXPECT_EQ(bytes[31], ProfileHeader::ComputeChecksum(bytes));
    }
}

TEST(ProfileImage, EntryAccessorsReadAndWriteTheLittleEndianFieldsOfTheRightRecord)
{
    ProfileImage image;
    ASSERT_TRUE(image.SetFixedPart(std::vector<uint8_t>(FixedPartSize, 0)));

    const size_t slot = ProfileImage::SlotOf(2, 7);
    EXPECT_EQ(slot, 2 * 512 + 7u);
    image.SetEntryKind(slot, 0x0304);
    image.SetEntryValue(slot, 0x0A0B0C0D);
    const auto bytes = std::as_const(image).FixedPart();
    const size_t at = 64 + 2 * 8192 + 7 * 16;
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + at + 8),
              (std::vector<uint8_t>{0x04, 0x03, 0, 0, 0x0D, 0x0C, 0x0B, 0x0A}));
    EXPECT_EQ(image.Entry(2, 7).data(), image.FixedPart().data() + at);
    EXPECT_EQ(image.Entry(2, 7).size(), 16u);
    EXPECT_EQ(image.EntryKind(slot), 0x0304);
    EXPECT_EQ(image.EntryValue(slot), 0x0A0B0C0Du);

    // Nothing past the table, and nothing at all without a fixed part.
    EXPECT_TRUE(image.Entry(EntryCount).empty());
    EXPECT_TRUE(image.Entry(4, 0).empty());
    EXPECT_TRUE(image.Entry(0, 512).empty());
    image.SetEntryKind(EntryCount, 1);
    image.ReleaseFixedPart();
    EXPECT_TRUE(image.Entry(slot).empty());
    EXPECT_EQ(image.EntryKind(slot), 0);
    image.SetEntryValue(slot, 5);
    EXPECT_FALSE(image.HasFixedPart());
}

TEST(ProfileImage, MacroRecordsMustMatchTheirCount)
{
    ProfileImage image;
    EXPECT_FALSE(image.SetMacroRecords(std::vector<uint8_t>(MacroRecordSize + 1), 1));
    EXPECT_EQ(image.MacroCount(), 0);
    ASSERT_TRUE(image.SetMacroRecords(std::vector<uint8_t>(2 * MacroRecordSize), 2));
    EXPECT_EQ(image.MacroRecord(1).size(), MacroRecordSize);
    EXPECT_TRUE(image.MacroRecord(2).empty());
}

TEST(ProfileStore, StartsWithTheDefaultImageAndReleasesEachPartOnItsOwn)
{
    ProfileStore store;
    const auto fixed = std::as_const(store.Image()).FixedPart();
    EXPECT_EQ(std::vector<uint8_t>(fixed.begin(), fixed.end()), ProfileImage::DefaultFixedPart(0));
    EXPECT_EQ(ProfileCount(), 3);

    EXPECT_TRUE(store.Texts().Set(3, u"abc"));
    ASSERT_TRUE(store.Image().SetMacroRecords(std::vector<uint8_t>(MacroRecordSize), 1));
    store.ReleaseTexts();
    EXPECT_EQ(store.Texts().TotalBytes(), 0u);
    EXPECT_EQ(store.Image().MacroCount(), 1);
    store.ReleaseMacros();
    EXPECT_EQ(store.Image().MacroCount(), 0);
    EXPECT_TRUE(store.Image().HasFixedPart());
    store.ReleaseFixedPart();
    EXPECT_FALSE(store.Image().HasFixedPart());

    ASSERT_TRUE(MakeDefaultImage(store, 0));
    EXPECT_TRUE(store.Image().HasFixedPart());
}

TEST(TextTable, LengthsCountTheTerminatorAndTheTotalFollowsEveryChange)
{
    TextTable texts;
    EXPECT_FALSE(texts.HasText(0));
    ASSERT_TRUE(texts.Set(0, u"abcd"));
    EXPECT_EQ(texts.Length(0), 10u);
    ASSERT_TRUE(texts.Set(1, u""));  // an empty text still has its terminator
    EXPECT_TRUE(texts.HasText(1));
    EXPECT_EQ(texts.Length(1), 2u);
    ASSERT_TRUE(texts.Set(2, std::u16string_view(u"ab\0cd", 5)));
    EXPECT_EQ(texts.Text(2), u"ab");
    EXPECT_EQ(texts.TotalBytes(), 10u + 2u + 6u);
    ASSERT_TRUE(texts.Set(0, u"x"));  // replacing a text replaces its length
    EXPECT_EQ(texts.TotalBytes(), 4u + 2u + 6u);
    texts.Clear(2);
    EXPECT_EQ(texts.TotalBytes(), 6u);
    EXPECT_FALSE(texts.Set(TextTable::SlotCount, u"x"));
    texts.ClearAll();
    EXPECT_EQ(texts.TotalBytes(), 0u);
    EXPECT_FALSE(texts.HasText(0));
}

TEST(TextTable, TextsAreVisitedBySlotWhateverTheOrderTheyWereSet)
{
    // The text area is packed in this order, so it must be the slots' order.
    TextTable texts;
    ASSERT_TRUE(texts.Set(2047, u"last"));
    ASSERT_TRUE(texts.Set(5, u"five"));
    ASSERT_TRUE(texts.Set(700, u""));
    ASSERT_TRUE(texts.Set(0, u"first"));
    ASSERT_TRUE(texts.Set(5, u"5"));  // replaced, still visited once
    ASSERT_TRUE(texts.Set(9, u"gone"));
    texts.Clear(9);
    std::vector<std::pair<size_t, std::u16string>> visited;
    texts.ForEachText([&](size_t slot, std::u16string_view text) { visited.emplace_back(slot, text); });
    const std::vector<std::pair<size_t, std::u16string>> expected = {
        {0, u"first"}, {5, u"5"}, {700, u""}, {2047, u"last"}};
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(texts.Text(700), u"");
    EXPECT_TRUE(texts.HasText(700));
    EXPECT_FALSE(texts.HasText(9));
    EXPECT_FALSE(texts.HasText(6));
}

}  // namespace
}  // namespace trevolin::profiles
