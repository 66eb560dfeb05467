#include "cli/ExitCode.h"
#include "cli/CliTestSupport.h"

#include <nlohmann/json.hpp>

namespace trevolin::test {
namespace {

using InfoCommandTest = CliTest;

TEST_F(InfoCommandTest, ShowsWhatTheKeyboardSaysOfItself)
{
    uint8_t info[44];
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_INFO, 0, info, 44), 1);
    info[8] = 0x04;  // firmware 1.04: too old
    info[9] = 0x01;
    info[10] = 2;
    info[11] = 3;
    ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_INFO, 0, info, 44), 1);

    const auto text = Run({"info"});
    ASSERT_EQ(text.exitCode, cli::ExitOk) << text.err;
    EXPECT_NE(text.out.find("Firmware version   1.04 (0x0104)"), std::string::npos) << text.out;
    // People count profiles from 1; the keyboard's index 2 is profile 3.
    EXPECT_NE(text.out.find("Active profile     3"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Macro capacity     384 bytes"), std::string::npos);
    EXPECT_NE(text.out.find("too old"), std::string::npos);

    const auto json = Run({"info", "--json"});
    ASSERT_EQ(json.exitCode, cli::ExitOk) << json.err;
    const auto j = nlohmann::json::parse(json.out);
    EXPECT_EQ(j["firmwareVersion"], 0x104);
    EXPECT_EQ(j["firmwareTooOld"], true);
    EXPECT_EQ(j["activeProfile"], 2);
    EXPECT_EQ(j["activeProfileNumber"], 3);
    EXPECT_EQ(j["macroCapacity"], 384);
    ASSERT_FALSE(j["effects"].empty());
    EXPECT_EQ(j["effects"][0]["number"], info[12]);
    EXPECT_NE(j["effects"][0]["name"], "#Error");
}

TEST_F(InfoCommandTest, FailuresHaveTheirOwnExitCodes)
{
    ASSERT_EQ(kb.QlSimUnplug(), 1);
    ASSERT_TRUE(kb.waitIdle());
    const auto none = Run({"info"});
    EXPECT_EQ(none.exitCode, cli::ExitNoKeyboard);
    EXPECT_NE(none.err.find("No keyboard found"), std::string::npos);
    ASSERT_EQ(kb.QlSimPlug(), 1);

    const auto missing = RunRaw({"--hid-library", "/nonexistent/libquellink.so", "info"});
    EXPECT_EQ(missing.exitCode, cli::ExitLibrary);
    EXPECT_NE(missing.err.find("/nonexistent/libquellink.so"), std::string::npos);

    // A library without the entry points: libc has none of them.
    const auto wrong = RunRaw({"--hid-library", "libc.so.6", "info"});
    EXPECT_EQ(wrong.exitCode, cli::ExitLibrary);
    EXPECT_NE(wrong.err.find("lacks the entry point"), std::string::npos);

    EXPECT_EQ(RunRaw({"info", "--bogus"}).exitCode, cli::ExitUsage);
    EXPECT_EQ(RunRaw({}).exitCode, cli::ExitUsage);
    const auto refused = [&] {
        kb.QlSimFailStatus(0xFF, 100);
        return Run({"info"});
    }();
    kb.QlSimFailStatus(0xFF, 0);
    EXPECT_EQ(refused.exitCode, cli::ExitKeyboardError);
}

}  // namespace
}  // namespace trevolin::test
