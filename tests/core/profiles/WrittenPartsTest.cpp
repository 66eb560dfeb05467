#include "core/profiles/KeyboardWriteReport.h"

#include <gtest/gtest.h>

namespace trevolin::profiles {
namespace {

TEST(WrittenParts, SayWhatReachedTheKeyboardAndWhatDidNot)
{
    struct Case {
        const char* name;
        int macroArea;
        std::vector<int> profiles;
        std::vector<int> results;
        std::string expected;
    } cases[] = {
        // Blocks are the keyboard's indexes; people read profiles 1 to 3.
        {"stopped at block 1 of a restore",
         1,
         {0, 1, 2},
         {1, -2, 0},
         "Written: the macro area, the keys of profile 1. Not written (the keyboard may hold a part of it): the "
         "keys of profiles 2 and 3."},
        {"macro area refused, Apply's block taken",
         -102,
         {1},
         {1},
         "Written: the keys of profile 2. Not written (the keyboard may hold a part of it): the macro area."},
        {"nothing taken",
         0,
         {0, 1, 2},
         {0, 0, 0},
         "Written: nothing. Not written (the keyboard may hold a part of it): the macro area, the keys of "
         "profiles 1, 2 and 3."},
        {"everything taken", 1, {0, 1, 2}, {1, 1, 1}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KeyboardWriteReport report;
        report.macroAreaResult = c.macroArea;
        report.profilesWritten = c.profiles;
        report.blockResults = c.results;
        EXPECT_EQ(DescribeWrittenParts(report), c.expected);
    }
    KeyboardWriteReport tooLong;
    tooLong.stop = KeyboardWriteReport::Stop::MacrosTooLong;
    EXPECT_EQ(DescribeWrittenParts(tooLong), "");
}

}  // namespace
}  // namespace trevolin::profiles
