#include "core/macros/Macro.h"
#include "core/macros/MacroText.h"

#include <gtest/gtest.h>

#include <vector>

namespace trevolin::macros {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Slice(const Bytes& b, size_t from, size_t count)
{
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + count));
}

TEST(MacroRecord, FieldsSitAtTheirOffsetsLittleEndianAndTheRestIsZero)
{
    Macro macro;
    macro.name = u"Ab";
    macro.playCount = 7;
    macro.isNew = 1;
    macro.id = 0x0203;
    macro.events = {{0x01020304, 0x1D, MacroEvent::Release}, {10, 0x172, MacroEvent::Press}};
    Bytes record(Macro::Size, 0xEE);
    macro.Write(record);

    EXPECT_EQ(Slice(record, 0, 6), (Bytes{'A', 0, 'b', 0, 0, 0}));
    EXPECT_EQ(Slice(record, 500, 12), (Bytes{7, 0, 1, 0, 0, 0, 0x03, 0x02, 2, 0, 0, 0}));
    EXPECT_EQ(Slice(record, 512, 16), (Bytes{0x04, 0x03, 0x02, 0x01, 0x1D, 0x00, 0x01, 0x00,  //
                                             0x0A, 0x00, 0x00, 0x00, 0x72, 0x01, 0x00, 0x00}));
    for (size_t i = 528; i < Macro::Size; ++i)
        ASSERT_EQ(record[i], 0) << i;
    for (size_t i = 6; i < 500; ++i)
        ASSERT_EQ(record[i], 0) << i;

    EXPECT_EQ(Macro::Read(record), macro);
    EXPECT_EQ(Macro::ReadId(record), 0x0203);
    EXPECT_EQ(Macro::ReadEventCount(record), 2u);
}

TEST(MacroRecord, NamesAreCutTo249UnitsWithoutSplittingACharacter)
{
    const std::u16string longName(300, u'x');
    EXPECT_EQ(CutMacroName(longName).size(), 249u);
    EXPECT_EQ(CutMacroName(u"short"), u"short");

    // A character outside the BMP straddling the limit is dropped whole.
    std::u16string straddling(248, u'a');
    straddling += u"\U0001F600";
    EXPECT_EQ(CutMacroName(straddling), std::u16string(248, u'a'));

    Macro macro;
    macro.name = longName;
    Bytes record(Macro::Size);
    macro.Write(record);
    EXPECT_EQ(record[2 * 248], 'x');
    EXPECT_EQ(record[2 * 249], 0);  // the terminator keeps its place
    EXPECT_EQ(Macro::ReadName(record).size(), 249u);
}

TEST(MacroRecord, RecordsThatClaimMoreThanTheyCanHoldAreReadWithinLimits)
{
    Bytes record(Macro::Size, 0);
    // 250 name units without a terminator, 65535 events.
    for (size_t i = 0; i < 250; ++i)
        record[2 * i] = 'n';
    record[508] = 0xFF;
    record[509] = 0xFF;
    const Macro macro = Macro::Read(record);
    EXPECT_EQ(macro.name, std::u16string(249, u'n'));
    EXPECT_EQ(macro.events.size(), Macro::MaxEvents);
    EXPECT_EQ(Macro::ReadEventCount(record), Macro::MaxEvents);

    // And writing never passes the record's room either.
    Macro big;
    big.events.assign(Macro::MaxEvents + 5, MacroEvent{1, 0x1E, MacroEvent::Press});
    Bytes out(Macro::Size);
    big.Write(out);
    EXPECT_EQ(Macro::ReadEventCount(out), Macro::MaxEvents);

    // A record too short to be one reads as an empty macro.
    EXPECT_EQ(Macro::Read(Bytes(100, 0xFF)), Macro{});
}

TEST(MacroText, Utf8AndUtf16ConvertBothWaysAndMalformedInputBecomesAReplacement)
{
    EXPECT_EQ(Utf8ToUtf16("Fünf 宏 \xF0\x9F\x98\x80"), u"Fünf 宏 \U0001F600");
    EXPECT_EQ(Utf16ToUtf8(u"Fünf 宏 \U0001F600"), "Fünf 宏 \xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b\xC3"),
              u"a\uFFFDb\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD");  // an overlong NUL
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(MacroText, PrefixesCompareWithoutRegardToCase)
{
    EXPECT_TRUE(StartsWithCaseless(u"Macro10", u"MACRO1"));
    EXPECT_TRUE(StartsWithCaseless(u"ÄRGER", u"är"));
    EXPECT_TRUE(StartsWithCaseless(u"МАКРО 1", u"макро"));
    EXPECT_FALSE(StartsWithCaseless(u"Macro", u"Macro1"));
    EXPECT_FALSE(StartsWithCaseless(u"Macro2", u"Macro1"));
}

}  // namespace
}  // namespace trevolin::macros
