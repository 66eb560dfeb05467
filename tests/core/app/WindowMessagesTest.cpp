#include "core/app/WindowMessages.h"
#include "support/MapTextLookup.h"

#include <gtest/gtest.h>

namespace trevolin::app {
namespace {

// A keyboard that is there but may not be opened is not "no keyboard":
// both programs name the permission and how to grant it.
TEST(WindowMessages, AbsenceNamesAPermissionProblemAndItsRemedy)
{
    const test::MapTextLookup texts{{"MAIN_NO_DEVICE_PROMPT", "No keyboard found. Connect the keyboard."}};
    const auto denied =
        DescribeAbsence({QL_ERR_PERMISSION, "/dev/hidraw3 may not be opened by this user"}, false, texts);
    EXPECT_TRUE(denied.permission);
    EXPECT_NE(denied.sentence.find("may not open it"), std::string::npos) << denied.sentence;
    EXPECT_NE(denied.sentence.find("/dev/hidraw3"), std::string::npos) << denied.sentence;
    EXPECT_NE(denied.remedy.find("70-trevolin.rules"), std::string::npos);

    const auto none = DescribeAbsence({}, false, texts);
    EXPECT_FALSE(none.permission);
    EXPECT_EQ(none.sentence, "No keyboard found. Connect the keyboard.");
    EXPECT_TRUE(none.remedy.empty());
    EXPECT_NE(DescribeAbsence({}, true, texts).sentence.find("simulated keyboard is unplugged"), std::string::npos);
}

TEST(WindowMessages, AFailedApplySaysWhatWasWrittenAndThatTheChangesStayPending)
{
    const test::MapTextLookup texts;
    profiles::ApplyReport report;
    report.write.problem = "the keyboard refused the write of key-map block 2";
    report.write.profilesWritten = {0, 1};
    report.write.blockResults = {1, -5};
    report.write.macroAreaResult = 1;
    const std::string text = ApplyFailureText(report, texts, "/home/u/.local/share/Dravik-RGB_01");
    EXPECT_NE(text.find("refused the write of key-map block 2."), std::string::npos) << text;
    EXPECT_NE(text.find("stay pending"), std::string::npos) << text;

    report.write.ok = true;
    EXPECT_NE(ApplyFailureText(report, texts, "/home/u/x").find("/home/u/x could not be saved"), std::string::npos);
    report.refused = profiles::ApplyReport::Refused::NotLoaded;
    EXPECT_NE(ApplyFailureText(report, texts, "").find("nothing was written"), std::string::npos);
}

}  // namespace
}  // namespace trevolin::app
