// Injected faults, boot mode, leaving and joining the bus.
#include "SimTestSupport.h"

#include <chrono>

namespace simtest {
namespace {

class SimFaultsTest : public SimKeyboardTest {
protected:
    int32_t deviceCount(const QlUnitId& unit)
    {
        return kb().RequestGetDeviceCount(&unit, nullptr, 0, callChecksum(unit, nullptr, 0), nullptr);
    }
    std::vector<uint32_t> countNotes(uint32_t tag)
    {
        std::vector<uint32_t> counts;
        for (const Note& n : Recorder::instance().notes(tag, 0))
            counts.push_back(n.count);
        return counts;
    }
};

const uint8_t kByte = 2;  // factory brightness is 4

struct FaultCase {
    const char* name;
    void (*arm)(SimKeyboardControl&);
    // Per request of three identical brightness writes: -1 no reply, else the
    // expected status; and the command the reply echoes (0 = the request's).
    int replies[3];
    uint8_t echoed[3];
    bool processed;  // did the first request change memory
};

const FaultCase kFaults[] = {
    {"none", [](SimKeyboardControl&) {}, {kOk, kOk, kOk}, {0, 0, 0}, true},
    {"drop two replies", [](SimKeyboardControl& k) { k.QlSimDropReplies(2); }, {-1, -1, kOk}, {0, 0, 0}, true},
    {"echo another command once",
     [](SimKeyboardControl& k) { k.QlSimEchoOtherCommand(1); },
     {kOk, kOk, kOk},
     {7, 0, 0},
     true},
    {"status 0xFF twice",
     [](SimKeyboardControl& k) { k.QlSimFailStatus(0xFF, 2); },
     {0xFF, 0xFF, kOk},
     {0, 0, 0},
     false},
    {"status 0xFE three times",
     [](SimKeyboardControl& k) { k.QlSimFailStatus(0xFE, 3); },
     {0xFE, 0xFE, 0xFE},
     {0, 0, 0},
     false},
};

TEST_F(SimFaultsTest, FaultsApplyToTheNextRequestsOnly)
{
    for (const FaultCase& f : kFaults) {
        SCOPED_TRACE(f.name);
        ASSERT_EQ(kb().QlSimReset(), 1);
        Recorder::instance().clear();
        f.arm(kb());
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            const Report request = makeRequest(6, 1, 1, std::span(&kByte, 1));
            const std::optional<Report> reply = exchange(request);
            if (i == 0) {
                uint8_t brightness = 0;
                ASSERT_EQ(kb().QlSimReadArea(QL_SIM_AREA_LIGHTING, 1, &brightness, 1), 1);
                EXPECT_EQ(brightness == kByte, f.processed);
                // Undo, so that the next request's effect is visible too.
                const uint8_t factory = 4;
                kb().QlSimWriteArea(QL_SIM_AREA_LIGHTING, 1, &factory, 1);
            }
            if (f.replies[i] < 0) {
                EXPECT_FALSE(reply.has_value());
                continue;
            }
            ASSERT_TRUE(reply.has_value());
            EXPECT_EQ((*reply)[7], f.replies[i]);
            EXPECT_EQ((*reply)[3], f.echoed[i] ? f.echoed[i] : 6);
            EXPECT_EQ((*reply)[1] | ((*reply)[2] << 8), reportSum(*reply));
        }
    }
}

TEST_F(SimFaultsTest, RefusedWritesReturnAnErrorAndReachNothing)
{
    ASSERT_EQ(kb().QlSimLogClear(), 1);
    ASSERT_EQ(kb().QlSimRefuseWrites(2), 1);
    const Report request = makeRequest(1, 0, 0);
    EXPECT_LT(send(request), 0);
    EXPECT_LT(send(request), 0);
    EXPECT_EQ(send(request), 1);
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_EQ(kb().QlSimLogCount(), 1);

    ASSERT_EQ(kb().QlSimRefuseWrites(-1), 1);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(send(request), QL_ERR_IO);
    ASSERT_EQ(kb().QlSimRefuseWrites(0), 1);
    EXPECT_EQ(send(request), 1);
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_EQ(kb().QlSimLogCount(), 2);
}

TEST_F(SimFaultsTest, TheKeyboardCanLeaveInTheMiddleOfATransfer)
{
    ASSERT_EQ(kb().QlSimLeaveBusAfter(2), 1);
    const std::vector<uint8_t> block(512, 0x33);
    EXPECT_FALSE(writeBytes(8, 0, block));
    EXPECT_EQ(deviceCount(SimKeyboardControl::vendorUnit()), 0);
    EXPECT_EQ(countNotes(QL_TAG_CTRL), std::vector<uint32_t>{0});
    EXPECT_EQ(countNotes(QL_TAG_CONS), std::vector<uint32_t>{0});
    std::vector<uint8_t> keymaps = area(QL_SIM_AREA_KEYMAPS);
    EXPECT_TRUE(std::all_of(keymaps.begin(), keymaps.begin() + 112, [](uint8_t b) { return b == 0x33; }))
        << "the two answered pieces stay written";
    EXPECT_NE(keymaps[112], 0x33);
    EXPECT_EQ(send(makeRequest(1, 0, 0)), QL_ERR_NO_DEVICE);

    ASSERT_EQ(kb().QlSimPlug(), 1);
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_EQ(countNotes(QL_TAG_CTRL), (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ(statusOf(makeRequest(1, 0, 0)), kOk);
}

TEST_F(SimFaultsTest, BootModeLeavesTheBusWithoutAReply)
{
    ASSERT_EQ(kb().QlSimLogClear(), 1);
    Report boot{};
    boot[0] = 4;
    boot[3] = 0xEE;
    boot[4] = 0xEE;  // no report checksum, as the program sends it
    EXPECT_EQ(send(boot), 1);
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_FALSE(Recorder::instance().takeReply().has_value());
    EXPECT_EQ(kb().QlSimLogCount(), 1);
    for (const QlUnitId& unit :
         {SimKeyboardControl::vendorUnit(), SimKeyboardControl::consumerUnit(), SimKeyboardControl::statusUnit()})
        EXPECT_EQ(deviceCount(unit), 0);
    EXPECT_EQ(countNotes(QL_TAG_CTRL), std::vector<uint32_t>{0});
    EXPECT_EQ(send(makeRequest(3, 44, 0)), QL_ERR_NO_DEVICE);
    EXPECT_EQ(kb().QlSimSendConsumerCode(0x0401), QL_ERR_NO_DEVICE);

    // Replugging (or a reset) brings the keyboard back with its memory.
    ASSERT_EQ(kb().QlSimPlug(), 1);
    EXPECT_EQ(deviceCount(SimKeyboardControl::vendorUnit()), 1);
    EXPECT_EQ(statusOf(makeRequest(3, 44, 0)), kOk);
}

TEST_F(SimFaultsTest, PlugAndUnplugNotifyOnlyRealChanges)
{
    ASSERT_EQ(kb().QlSimUnplug(), 1);
    ASSERT_EQ(kb().QlSimUnplug(), 1);
    ASSERT_EQ(kb().QlSimPlug(), 1);
    ASSERT_EQ(kb().QlSimPlug(), 1);
    ASSERT_EQ(kb().QlSimUnplug(), 1);
    ASSERT_EQ(kb().QlSimReset(), 1);  // plugs back in
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_EQ(countNotes(QL_TAG_CTRL), (std::vector<uint32_t>{0, 1, 0, 1}));
    EXPECT_EQ(countNotes(QL_TAG_CONS), (std::vector<uint32_t>{0, 1, 0, 1}));
}

TEST_F(SimFaultsTest, UnpluggingLosesTheReportsInFlight)
{
    ASSERT_EQ(kb().QlSimSetLatency(50), 1);
    ASSERT_EQ(send(makeRequest(1, 0, 0)), 1);
    ASSERT_EQ(send(makeRequest(2, 0, 0)), 1);
    ASSERT_EQ(kb().QlSimUnplug(), 1);
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_FALSE(Recorder::instance().takeReply().has_value());
}

TEST_F(SimFaultsTest, LatencyDelaysTheReply)
{
    ASSERT_EQ(kb().QlSimSetLatency(40), 1);
    const auto start = std::chrono::steady_clock::now();
    const std::optional<Report> reply = exchange(makeRequest(1, 0, 0));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(reply);
    EXPECT_GE(elapsed, std::chrono::milliseconds(40));

    ASSERT_EQ(kb().End(), 1);
    ScopedEnv latency("TREVOLIN_SIM_LATENCY_MS", "25");
    ASSERT_EQ(kb().Init(0), 1);
    listen();
    const auto again = std::chrono::steady_clock::now();
    ASSERT_TRUE(exchange(makeRequest(1, 0, 0)));
    EXPECT_GE(std::chrono::steady_clock::now() - again, std::chrono::milliseconds(25));
}

TEST_F(SimFaultsTest, StartingUnpluggedIsAModelSetting)
{
    ASSERT_EQ(kb().End(), 1);
    ScopedEnv absent("TREVOLIN_SIM_PRESENT", "0");
    ASSERT_EQ(kb().Init(0), 1);
    listen();
    EXPECT_EQ(deviceCount(SimKeyboardControl::vendorUnit()), 0);
    ASSERT_EQ(kb().QlSimPlug(), 1);
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_EQ(countNotes(QL_TAG_CTRL), std::vector<uint32_t>{1});
}

}  // namespace
}  // namespace simtest
