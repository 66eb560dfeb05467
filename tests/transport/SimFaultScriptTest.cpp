// The fault script of TREVOLIN_SIM_FAULTS: steps in order, each for its
// count of requests, started by Init and by every reset.
#include "SimTestSupport.h"

#include <chrono>

namespace simtest {
namespace {

class SimFaultScriptTest : public SimKeyboardTest {
protected:
    // Restarts the keyboard with `script` as its fault script.
    void Script(const char* script)
    {
        ASSERT_EQ(kb().End(), 1);
        ScopedEnv faults("TREVOLIN_SIM_FAULTS", script);
        ASSERT_EQ(kb().Init(0), 1);
        listen();
    }

    int32_t deviceCount()
    {
        const QlUnitId unit = SimKeyboardControl::vendorUnit();
        return kb().RequestGetDeviceCount(&unit, nullptr, 0, callChecksum(unit, nullptr, 0), nullptr);
    }
};

const uint8_t kBrightness = 2;

// What the reply to one brightness write was: "-" none, "ok", "FE"/"FF"
// for a refusal, "echo 7" for a reply carrying another command.
std::string Outcome(const std::optional<Report>& reply)
{
    if (!reply)
        return "-";
    if ((*reply)[3] != 6)
        return "echo " + std::to_string((*reply)[3]);
    if ((*reply)[7] == kOk)
        return "ok";
    return (*reply)[7] == 0xFE ? "FE" : ((*reply)[7] == 0xFF ? "FF" : "status " + std::to_string((*reply)[7]));
}

TEST_F(SimFaultScriptTest, StepsRunInOrderEachForItsCount)
{
    struct Case {
        const char* script;
        std::vector<std::string> outcomes;
    };
    const Case cases[] = {
        {"drop", {"-", "ok"}},
        {"ok:2, drop:2,echo , status=0xFF:2,ok,status=0xfe",
         {"ok", "ok", "-", "-", "echo 7", "FF", "FF", "ok", "FE", "ok"}},
        {"status=254:3,echo:2", {"FE", "FE", "FE", "echo 7", "echo 7", "ok"}},
        {"", {"ok", "ok"}},
        {"  ", {"ok"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        Script(c.script);
        std::vector<std::string> outcomes;
        for (size_t i = 0; i < c.outcomes.size(); ++i)
            outcomes.push_back(Outcome(exchange(makeRequest(6, 1, 1, std::span(&kBrightness, 1)))));
        EXPECT_EQ(outcomes, c.outcomes);
    }

    // A refusal is not carried out; a dropped reply's request is.
    Script("status=0xFE,drop");
    const uint8_t one = 1, three = 3;
    const uint8_t before = area(QL_SIM_AREA_LIGHTING)[1];
    ASSERT_NE(before, one);
    exchange(makeRequest(6, 1, 1, std::span(&one, 1)));
    EXPECT_EQ(area(QL_SIM_AREA_LIGHTING)[1], before);
    exchange(makeRequest(6, 1, 1, std::span(&three, 1)));
    EXPECT_EQ(area(QL_SIM_AREA_LIGHTING)[1], 3);
}

TEST_F(SimFaultScriptTest, LateRepliesRefusedWritesAndLeavingTheBus)
{
    Script("late=60:2,refuse-writes:2,leave-after=2");
    for (int i = 0; i < 2; ++i) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(exchange(makeRequest(1, 0, 0)));
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(60)) << i;
    }
    ASSERT_EQ(kb().QlSimLogClear(), 1);
    EXPECT_EQ(send(makeRequest(1, 0, 0)), QL_ERR_IO);
    EXPECT_EQ(send(makeRequest(1, 0, 0)), QL_ERR_IO);
    EXPECT_EQ(statusOf(makeRequest(1, 0, 0)), kOk);
    EXPECT_EQ(kb().QlSimLogCount(), 1) << "refused writes reach nothing";
    EXPECT_EQ(deviceCount(), 1);
    EXPECT_EQ(statusOf(makeRequest(1, 0, 0)), kOk);
    EXPECT_EQ(deviceCount(), 0) << "two requests answered, then gone";
    EXPECT_EQ(send(makeRequest(1, 0, 0)), QL_ERR_NO_DEVICE);

    // A reset starts the script again.
    ScopedEnv faults("TREVOLIN_SIM_FAULTS", "drop");
    ASSERT_EQ(kb().QlSimReset(), 1);
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_FALSE(exchange(makeRequest(1, 0, 0)).has_value());
    EXPECT_TRUE(exchange(makeRequest(1, 0, 0)).has_value());
}

TEST_F(SimFaultScriptTest, AScriptThatCannotBeReadIsReportedAndIgnored)
{
    struct Case {
        const char* script;
        const char* said;
    };
    const Case cases[] = {
        {"drop,explode:2", "step 2 \"explode:2\": unknown fault \"explode\""},
        {"drop:0", "step 1 \"drop:0\": the count must be a number from 1 to 1000000"},
        {"drop:x", "the count must be"},
        {"status=0x10", "status takes 0xFE or 0xFF"},
        {"status", "status needs a value"},
        {"late=70000", "late takes milliseconds from 0 to 60000"},
        {"leave-after=3:2", "leave-after takes no count"},
        {"leave-after=0", "leave-after takes a number of requests from 1"},
        {"echo=0x0A", "echo takes no value"},
        {"drop,,ok", "step 2 \"\": empty step"},
        {"drop,", "step 2 \"\": empty step"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        testing::internal::CaptureStderr();
        Script(c.script);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(std::string("TREVOLIN_SIM_FAULTS=\"") + c.script + "\": "), std::string::npos) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_NE(said.find("no faults are injected"), std::string::npos) << said;
        EXPECT_EQ(statusOf(makeRequest(6, 1, 1, std::span(&kBrightness, 1))), kOk);
    }
}

}  // namespace
}  // namespace simtest
