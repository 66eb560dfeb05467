#include "core/keyboard/KeyCodeTable.h"
#include "core/keyboard/KeyNames.h"

#include "support/MapTextLookup.h"

#include <gtest/gtest.h>

#include <set>

namespace trevolin::keyboard {
namespace {

using test::MapTextLookup;

TEST(KeyNames, NameComesFromTheLanguageFile)
{
    const MapTextLookup texts{{"IDS_KEYBOARD_A", "A"}, {"MEDIA_NEXT_TRACK_5", "Next"}, {"UNKNOWN_KEY", "Key %d"}};
    EXPECT_EQ(KeyNameFromScan(texts, 0x1E), "A");
    EXPECT_EQ(KeyNameFromScan(texts, 0x119), "Next");   // keys compare without case
    EXPECT_EQ(KeyNameFromScan(texts, 0x30), "#Error");  // a missing text is shown as it is
}

TEST(KeyNames, KeysWithoutANameUseTheUnknownKeyFormat)
{
    const MapTextLookup texts{{"IDS_KEYBOARD_NUM", ""}, {"UNKNOWN_KEY", "Key %u"}};
    EXPECT_EQ(KeyNameFromScan(texts, 0x145), "Key 325");  // empty text
    EXPECT_EQ(KeyNameFromScan(texts, 0x55), "Key 85");    // empty row
    EXPECT_EQ(KeyNameFromScan(texts, 0x64), "Key 100");   // F13 has no language key
    EXPECT_EQ(KeyNameFromScan(texts, 0x211), "Key 529");  // beyond the table: the raw value

    const MapTextLookup noFormat{};
    EXPECT_EQ(KeyNameFromScan(noFormat, 0x55), "#Error");
}

TEST(KeyNames, AHostileFormatIsNeverInterpreted)
{
    const MapTextLookup texts{{"UNKNOWN_KEY", "%s%n%p %x %d"}};
    // Conversions that do not fit the one number are shown as written.
    EXPECT_EQ(KeyNameFromScan(texts, 0x55), "%s%n%p %x %d");
}

TEST(KeyNames, NamesAreCutToTheBuffer)
{
    const MapTextLookup texts{
        {"IDS_KEYBOARD_BS", "Backspace"}, {"IDS_KEYBOARD_UP", "↑↓←"}, {"UNKNOWN_KEY", "Unknown %d"}};
    struct Case {
        uint16_t scan;
        size_t capacity;
        const char* expected;
    };
    const Case cases[] = {
        {0x0E, 10, "Backspace"}, {0x0E, 9, "Backspac"}, {0x0E, 5, "Back"},
        {0x0E, 1, ""},           {0x0E, 0, ""},         {0x148, 3, "↑↓"},  // characters, never bytes of one
        {0x148, 2, "↑"},         {0x55, 9, "Unknown "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyNameFromScan(texts, c.scan, c.capacity), c.expected) << std::hex << c.scan << " " << c.capacity;

    const MapTextLookup longName{{"IDS_KEYBOARD_A", std::string(300, 'a')}};
    EXPECT_EQ(KeyNameFromScan(longName, 0x1E).size(), TextCapacity - 1);
}

TEST(KeyNames, CutCountsMalformedTextSafely)
{
    EXPECT_EQ(CutToCharacters("\x80\x80\x80", 0), "");
    EXPECT_EQ(CutToCharacters("\x80\x80\x80", 1), "\x80\x80\x80");
    EXPECT_EQ(CutToCharacters(std::string(12, '\x80'), 1), std::string(4, '\x80'));
    EXPECT_EQ(CutToCharacters("ab\xE2\x86", 2), "ab");
    EXPECT_EQ(CutToCharacters("ab\xE2\x86", 3), "ab\xE2\x86");
}

TEST(KeyNames, NameFromKeyId)
{
    const MapTextLookup texts{{"IDS_KEYBOARD_RSHIFT", "Right Shift"}, {"IDS_KEYBOARD_A", "A"}};
    EXPECT_EQ(KeyNameFromKeyId(texts, 0x0000), "A");
    EXPECT_EQ(KeyNameFromKeyId(texts, 0x0067), "Right Shift");
    EXPECT_EQ(KeyNameFromKeyId(texts, 0x0001), "#Error");
    // No row, or a row without a name: empty, never "#Error".
    EXPECT_EQ(KeyNameFromKeyId(texts, 0x006A), "");
    EXPECT_EQ(KeyNameFromKeyId(texts, 0x802D), "");
    EXPECT_EQ(KeyNameFromKeyId(texts, 0xFFFF), "");
}

TEST(KeyNames, LanguageKeysCoverEveryKeyName)
{
    const std::vector<std::string_view> keys = KeyNameLanguageKeys();
    const std::set<std::string_view> distinct(keys.begin(), keys.end());
    EXPECT_EQ(distinct.size(), keys.size());
    EXPECT_TRUE(distinct.count("UNKNOWN_KEY"));
    for (std::string_view key : keys) {
        EXPECT_TRUE(key.starts_with("IDS_KEYBOARD_") || key.starts_with("MEDIA_") || key == "UNKNOWN_KEY") << key;
    }

    // A language file holding exactly these keys names every key.
    MapTextLookup texts;
    for (std::string_view key : keys)
        texts.text.emplace(std::string(key), "name %d");
    for (uint32_t index = 0; index < KeyCodeRowCount; ++index) {
        EXPECT_NE(KeyNameFromScan(texts, IndexToScan(index)), "#Error") << index;
        EXPECT_NE(KeyNameFromKeyId(texts, KeyCodeRow(index).keyId), "#Error") << index;
    }
}

}  // namespace
}  // namespace trevolin::keyboard
