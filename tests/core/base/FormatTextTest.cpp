#include "core/base/FormatText.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trevolin::base {
namespace {

TEST(FormatTextTest, FillsConversionsThatFitTheirArguments)
{
    EXPECT_EQ(FormatText("At most %d macros.", 100), "At most 100 macros.");
    EXPECT_EQ(FormatText("Unknown key (%u)", 325u), "Unknown key (325)");
    EXPECT_EQ(FormatText("%s is damaged.", std::string("/tmp/a b.tvl")), "/tmp/a b.tvl is damaged.");
    EXPECT_EQ(FormatText("%s%d", "Macro ", 7), "Macro 7");
    EXPECT_EQ(FormatText("%-5d|%05d|%+d|%x|%#X|%o|%.3d", 1, 2, 3, 255, 255, 8, 4), "1    |00002|+3|ff|0XFF|10|004");
    EXPECT_EQ(FormatText("%hhd %hd %ld %lld %zu %jd %td %lu", 300, 5, 6L, 7LL, size_t{8}, 9, 10, uint8_t{11}),
              "44 5 6 7 8 9 10 11");
    EXPECT_EQ(FormatText("%.2s|%5s|%-3s|", "abc", "ab", "a"), "ab|   ab|a  |");
    EXPECT_EQ(FormatText("100%% of %d", 40000), "100% of 40000");
    EXPECT_EQ(FormatText("%2$s then %1$s, %2$s again", "one", "two"), "two then one, two again");
    EXPECT_EQ(FormatText("%260d", 1), std::string(259, ' ') + "1");
    // A translation may leave a value out.
    EXPECT_EQ(FormatText("Too many macros.", 100), "Too many macros.");
    EXPECT_EQ(FormatText("#Error", 100), "#Error");
    EXPECT_EQ(FormatText("plain"), "plain");
    EXPECT_EQ(FormatText("%s", static_cast<const char*>(nullptr)), "");
}

TEST(FormatTextTest, ShowsATextLiterallyWhenItsConversionsDoNotFit)
{
    const std::string_view path = "/home/u/x.tvl";
    const std::string_view literal[] = {
        "%s",     // a text conversion for a number
        "%d %d",  // more conversions than values
        "%n",     // would write to memory in printf
        "%p",
        "%c",
        "%e",
        "%f",
        "%a",
        "%q",
        "%I64d",
        "%Lf",
        "%*d",
        "%.*d",  // width or precision taken from a value
        "%261d",
        "%.261d",
        "%99999999999999999999d",
        "%2147483647d",
        "%1$d %d",  // positions mixed with order
        "%2$d",
        "%0$d",  // a position without a value
        "%ls",
        "%lc",  // wide characters
        "%",
        "50%",
        "%-",
        "%5",
        "%l",
        "%.",  // unfinished
    };
    for (const auto format : literal) {
        EXPECT_EQ(FormatText(format, 7), format) << format;
    }
    EXPECT_EQ(FormatText("%d is damaged.", path), "%d is damaged.");
    EXPECT_EQ(FormatText("%x", std::string("x")), "%x");
    EXPECT_EQ(FormatText("%s%s", "a"), "%s%s");
    EXPECT_EQ(FormatText("%d"), "%d");
}

// FormatFits is what keeps fmt from refusing a text at run time: where it
// says yes, fmt must fill the text.
TEST(FormatTextTest, FitsOnlyWhatFmtFills)
{
    const std::array kinds{FormatArgKind::Integer, FormatArgKind::Text};
    const std::vector<std::pair<std::string_view, bool>> cases = {
        {"%000000005d %s", true},          {"%-0000000000005d %s", true},
        {"%2$00000000000-5s %1$d", true},  {"%0000000000-5d %s", false},  // fmt reads the opening digits as one number
        {"%00000000000000005d %s", false},
    };
    for (const auto& [format, fits] : cases) {
        EXPECT_EQ(FormatFits(format, kinds), fits) << format;
        bool filled = true;
        try {
            (void)fmt::sprintf(format, 7, "ab");
        } catch (const std::exception&) {
            filled = false;
        }
        if (fits) {
            EXPECT_TRUE(filled) << format;
        }
    }
    EXPECT_EQ(FormatText("%000000005d", 42), "00042");  // zero flags, then the width
}

}  // namespace
}  // namespace trevolin::base
