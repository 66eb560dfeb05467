#include "core/keyboard/SafeNumberFormat.h"

#include <gtest/gtest.h>

namespace trevolin::keyboard {
namespace {

TEST(KeyNameFormat, FillsTheFirstIntegerConversionOnly)
{
    struct Case {
        const char* format;
        uint32_t value;
        const char* expected;
    };
    const Case cases[] = {
        {"Key %d", 85, "Key 85"},
        {"%u", 325, "325"},
        {"%i", 7, "7"},
        {"0x%03X", 0x137, "0x137"},
        {"%04x", 0x55, "0055"},
        {"%o", 8, "10"},
        {"%#x", 255, "0xff"},
        {"%#X", 0, "0"},
        {"%#o", 8, "010"},
        {"%5d|", 7, "    7|"},
        {"%-5d|", 7, "7    |"},
        {"%+d", 5, "+5"},
        {"% d", 5, " 5"},
        {"%.3d", 5, "005"},
        {"%08.3d", 5, "     005"},
        {"%.0d", 0, ""},
        {"%ld", 5, "5"},
        {"%hu", 5, "5"},
        {"%lld", 5, "5"},
        {"%I64u", 5, "5"},
        {"%zu", 5, "5"},
        {"100%%", 5, "100%"},
        {"%d%%", 5, "5%"},
        {"%%d", 5, "%d"},
        {"%", 5, "%"},
        {"%5", 5, "%5"},
        {"", 5, ""},
        {"no number", 5, "no number"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SubstituteUnsigned(c.format, c.value), c.expected) << c.format;
}

TEST(KeyNameFormat, LeavesEveryOtherConversionAsWritten)
{
    struct Case {
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        {"%s", "%s"},
        {"%n", "%n"},
        {"%p %c %f", "%p %c %f"},
        {"%*d", "%*d"},
        {"%s then %d", "%s then 9"},
        {"%d %d %s", "9 %d %s"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SubstituteUnsigned(c.format, 9), c.expected) << c.format;
}

TEST(KeyNameFormat, HugeFieldWidthsAreLimited)
{
    EXPECT_EQ(SubstituteUnsigned("%99999999999999999999d", 1).size(), MaxFieldWidth);
    EXPECT_EQ(SubstituteUnsigned("%.99999999999999999999u", 1).size(), MaxFieldWidth);
}

}  // namespace
}  // namespace trevolin::keyboard
