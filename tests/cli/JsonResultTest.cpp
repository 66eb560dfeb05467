// --json on a command that changes the keyboard: one JSON object with the
// outcome, the messages and what was written.
#include "cli/CliTestSupport.h"
#include "cli/ExitCode.h"

#include <nlohmann/json.hpp>

namespace trevolin::test {
namespace {

using Json = nlohmann::json;

class JsonResultTest : public CliTest {
protected:
    Json RunJson(std::vector<std::string> args, int expectedExit)
    {
        const auto run = Run(std::move(args));
        EXPECT_EQ(run.exitCode, expectedExit) << run.out << run.err;
        EXPECT_EQ(run.err, "");
        return Json::parse(run.out);
    }
};

TEST_F(JsonResultTest, WriteCommandsSayWhatTheyWroteOrWhyNot)
{
    const auto set = RunJson({"key", "set", "A", "key:B", "--json"}, cli::ExitOk);
    EXPECT_EQ(set["ok"], true);
    EXPECT_EQ(set["exitCode"], 0);
    EXPECT_TRUE(set["command"].get<std::string>().ends_with(" key set A key:B --json")) << set["command"];
    EXPECT_EQ(set["keyboardWritten"], Json({"the macro area", "the key map of profile 1"}));

    const auto light = RunJson({"--json", "light", "brightness", "2"}, cli::ExitOk);
    EXPECT_EQ(light["keyboardWritten"], Json({"the lighting of profile 1"}));

    // The keyboard leaves while the key map is written.
    kb.QlSimLogClear();
    ASSERT_EQ(Run({"keys"}).exitCode, cli::ExitOk);
    kb.QlSimLeaveBusAfter(static_cast<uint32_t>(kb.QlSimLogCount() + 4));
    const auto refused = RunJson({"--json", "key", "set", "A", "key:C"}, cli::ExitKeyboardError);
    ASSERT_EQ(kb.QlSimPlug(), 1);
    ASSERT_TRUE(kb.waitIdle());
    EXPECT_EQ(refused["ok"], false);
    ASSERT_FALSE(refused["messages"].empty());
    EXPECT_NE(refused["messages"].back().get<std::string>().find("Not written"), std::string::npos) << refused.dump();

    const auto usage = RunJson({"--json", "key", "set", "Num7"}, cli::ExitUsage);
    EXPECT_EQ(usage["keyboardWritten"], Json::array());
    EXPECT_FALSE(usage["messages"].empty());
}

}  // namespace
}  // namespace trevolin::test
