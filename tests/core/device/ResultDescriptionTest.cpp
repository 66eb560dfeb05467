#include "core/device/ReportExchange.h"
#include "core/device/ResultDescription.h"

#include "support/MapTextLookup.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace trevolin::device {
namespace {

TEST(ResultDescription, EveryResultReadsAsASentenceNotACode)
{
    const test::MapTextLookup texts{};
    const std::vector<int> results{ResultOk,   ResultNoDevice, ResultWriteRefused, ResultNoReply,       ResultRefused,
                                   ResultBusy, ResultBadBlock, ResultRejected,     ResultReadBackFailed};
    std::set<std::string> described;
    for (const int result : results) {
        const std::string text = DescribeResult(result, texts);
        EXPECT_GT(text.size(), 3u) << result;
        EXPECT_EQ(text.find(std::to_string(result)), std::string::npos) << result << ": " << text;
        EXPECT_NE(text.back(), '.') << result << ": " << text;
        EXPECT_EQ(text.find("#Error"), std::string::npos) << result;
        described.insert(text);
    }
    // A program-side refusal or a failed read-back is not mistaken for a
    // result of the library or the keyboard.
    EXPECT_EQ(std::set<int>(results.begin(), results.end()).size(), results.size());
    EXPECT_EQ(described.size(), results.size());
    // Status 0xFE: the keyboard would not carry out a well-formed request.
    EXPECT_EQ(DescribeResult(ResultBusy, texts).find("busy"), std::string::npos);
    EXPECT_NE(DescribeResult(ResultBusy, texts).find("refused to carry out"), std::string::npos);
    // A result nobody knows still says what it is.
    EXPECT_NE(DescribeResult(-7, texts).find("-7"), std::string::npos);
}

TEST(ResultDescription, TakesTheLanguageFilesTextWhereItHasOne)
{
    const test::MapTextLookup texts{{"MAIN_NO_DEVICE_PROMPT", "No keyboard found. Connect it."}};
    EXPECT_EQ(DescribeResult(ResultNoDevice, texts), "No keyboard found. Connect it");
    EXPECT_EQ(DescribeResult(ResultNoDevice, test::MapTextLookup{}), "the keyboard is not connected");
}

}  // namespace
}  // namespace trevolin::device
