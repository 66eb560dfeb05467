// Reply framing, the report checksum, refusals and the library's own call
// checks, through the C ABI only.
#include "SimTestSupport.h"

#include <dlfcn.h>

namespace simtest {
namespace {

class SimFramingTest : public SimKeyboardTest {};

struct Exchange {
    const char* name;
    uint8_t command, length;
    uint16_t offset;
    uint8_t status;
};

// One row per refusal rule (and the accepted neighbours of each).
const Exchange kExchanges[] = {
    {"begin config", 1, 0, 0, kOk},
    {"end config", 2, 0, 0, kOk},
    {"read info", 3, 44, 0, kOk},
    {"commands 11 to 14 are accepted", 11, 0, 0, kOk},
    {"command 12", 12, 0, 0, kOk},
    {"command 13", 13, 0, 0, kOk},
    {"command 14", 14, 0, 0, kOk},
    {"lighting read runs past the end", 5, 56, 84, kOk},
    {"lighting read starts past the end", 5, 1, 126, kRefused},
    {"lighting write runs past the end", 6, 43, 84, kRefused},
    {"last lighting byte", 6, 1, 125, kOk},
    {"key map read at the last piece", 7, 8, 1528, kOk},
    {"key map read starts past the end", 7, 8, 1536, kRefused},
    {"key map write past the end", 8, 9, 1528, kRefused},
    {"macro area beyond capacity", 10, 1, 64 * 128, kRefused},
    {"default key map past the end", 15, 1, 512, kRefused},
    {"colour page write past the end", 17, 3, 1534, kRefused},
    {"colour read of the last key of page 2", 16, 3, 1453, kOk},
    {"length above 56", 7, 57, 0, kBadReport},
    {"length 0xFF", 3, 0xFF, 0, kBadReport},
    {"unknown command 0", 0, 0, 0, kBadReport},
    {"unknown command 18", 18, 0, 0, kBadReport},
    {"unknown command 0x80", 0x80, 0, 0, kBadReport},
    {"boot command with a wrong length is just unknown", 0xEE, 0, 0, kBadReport},
};

TEST_F(SimFramingTest, RepliesAreFramedAsTheRequestWasAndCarryTheRightStatus)
{
    for (const Exchange& e : kExchanges) {
        SCOPED_TRACE(e.name);
        const Report request = makeRequest(e.command, e.length, e.offset);
        const std::optional<Report> reply = exchange(request);
        ASSERT_TRUE(reply.has_value());
        const Report& r = *reply;
        EXPECT_EQ(r[0], 4);
        EXPECT_EQ(r[1] | (r[2] << 8), reportSum(r)) << "reply checksum";
        EXPECT_EQ(r[3], e.command);
        EXPECT_EQ(r[4], e.length);
        EXPECT_EQ(r[5], e.offset & 0xFF);
        EXPECT_EQ(r[6], e.offset >> 8);
        EXPECT_EQ(r[7], e.status);
        if (e.status != kOk) {
            for (size_t i = 8; i < 64; ++i)
                ASSERT_EQ(r[i], 0) << "refusals carry no data, byte " << i;
        }
    }
}

TEST_F(SimFramingTest, ABadReportIsRefusedAndChangesNothing)
{
    const std::vector<uint8_t> before = area(QL_SIM_AREA_LIGHTING);
    const uint8_t data[3] = {9, 9, 9};

    Report badSum = makeRequest(6, 3, 0, data);
    badSum[1] ^= 0x01;
    EXPECT_EQ(statusOf(badSum), kBadReport);

    Report dataAfterSealing = makeRequest(6, 3, 0, data);
    dataAfterSealing[60] = 1;  // outside the length, but covered by the checksum
    EXPECT_EQ(statusOf(dataAfterSealing), kBadReport);

    Report wrongId = makeRequest(6, 3, 0, data);
    wrongId[0] = 5;
    EXPECT_EQ(statusOf(wrongId), kBadReport);

    EXPECT_EQ(area(QL_SIM_AREA_LIGHTING), before);
}

TEST_F(SimFramingTest, EveryReportThatReachedTheKeyboardIsLogged)
{
    ASSERT_EQ(kb().QlSimLogClear(), 1);
    const Report a = makeRequest(1, 0, 0);
    const Report b = makeRequest(3, 44, 0);
    ASSERT_TRUE(exchange(a));
    ASSERT_TRUE(exchange(b));
    ASSERT_EQ(kb().QlSimLogCount(), 2);
    Report logged{};
    ASSERT_EQ(kb().QlSimLogGet(1, logged.data()), 1);
    EXPECT_EQ(logged, b);
    EXPECT_EQ(kb().QlSimLogGet(2, logged.data()), QL_ERR_ARGUMENT);
    ASSERT_EQ(kb().QlSimLogClear(), 1);
    EXPECT_EQ(kb().QlSimLogCount(), 0);
}

// Each call of the ABI with a wrong checksum: refused, nothing sent or kept.
TEST_F(SimFramingTest, ACallWithAWrongChecksumIsRefusedAndSendsNothing)
{
    const QlUnitId vendor = SimKeyboardControl::vendorUnit();
    const QlUnitId status = SimKeyboardControl::statusUnit();
    const Report report = makeRequest(3, 44, 0);
    const uint8_t bank[2] = {0x05, 0x03};
    uint32_t handle = 0;
    uint8_t buffer[8] = {};
    ASSERT_EQ(kb().QlSimLogClear(), 1);

    const uint32_t good = callChecksum(vendor, nullptr, 0, report.data(), 64);
    EXPECT_EQ(kb().RequestWriteOne(&vendor, nullptr, 0, report.data(), 64, good + 1, nullptr), QL_ERR_CHECKSUM);
    EXPECT_EQ(kb().RequestWrite(&vendor, nullptr, 0, report.data(), 64, good - 1, nullptr), QL_ERR_CHECKSUM);
    // The tag is part of the sum: a checksum for another tag does not fit.
    EXPECT_EQ(kb().RequestWriteOne(&vendor, nullptr, 0, report.data(), 64,
                                   callChecksum(vendor, nullptr, QL_TAG_CTRL, report.data(), 64), nullptr),
              QL_ERR_CHECKSUM);
    EXPECT_EQ(kb().RequestGetDeviceCount(&vendor, nullptr, 0, callChecksum(vendor, nullptr, 0) + 7, nullptr),
              QL_ERR_CHECKSUM);
    EXPECT_EQ(kb().RequestAsyncRead(&vendor, Recorder::callback, QL_TAG_CTRL,
                                    callChecksum(vendor, nullptr, QL_TAG_CTRL), &handle),
              QL_ERR_CHECKSUM);
    EXPECT_EQ(kb().RequestStatusWrite(&status, Recorder::callback, QL_TAG_DEL, bank, 2,
                                      callChecksum(status, Recorder::callback, QL_TAG_DEL), &handle),
              QL_ERR_CHECKSUM);
    EXPECT_EQ(kb().RequestStatusSetFeature(&status, nullptr, 0, bank, 2, 0, &handle), QL_ERR_CHECKSUM);
    EXPECT_EQ(kb().RequestStatusGet(&status, nullptr, 0, buffer, 8, 1, nullptr), QL_ERR_CHECKSUM);

    ASSERT_TRUE(kb().waitIdle());
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(kb().QlSimLogCount(), 0);
    EXPECT_FALSE(Recorder::instance().takeReply().has_value());
    EXPECT_EQ(kb().QlSimGetStatusReport(buffer, 8), 0);
    EXPECT_EQ(kb().QlSimGetFeatureReport(buffer, 8), 0);
}

TEST_F(SimFramingTest, NullPointersAndBadLengthsAreRefused)
{
    const QlUnitId vendor = SimKeyboardControl::vendorUnit();
    const QlUnitId consumer = SimKeyboardControl::consumerUnit();
    const Report report = makeRequest(1, 0, 0);
    uint32_t handle = 0;
    EXPECT_EQ(kb().RequestGetDeviceCount(nullptr, nullptr, 0, 0, nullptr), QL_ERR_ARGUMENT);
    EXPECT_EQ(kb().RequestWriteOne(nullptr, nullptr, 0, report.data(), 64, 0, nullptr), QL_ERR_ARGUMENT);
    EXPECT_EQ(kb().RequestWriteOne(&vendor, nullptr, 0, nullptr, 64, 0, nullptr), QL_ERR_ARGUMENT);
    EXPECT_EQ(kb().RequestAsyncRead(&vendor, nullptr, QL_TAG_CTRL, callChecksum(vendor, nullptr, QL_TAG_CTRL), &handle),
              QL_ERR_ARGUMENT);
    EXPECT_EQ(kb().RequestAsyncRead(&vendor, Recorder::callback, QL_TAG_CTRL,
                                    callChecksum(vendor, Recorder::callback, QL_TAG_CTRL), nullptr),
              QL_ERR_ARGUMENT);
    EXPECT_EQ(kb().RequestStatusGet(&vendor, nullptr, 0, nullptr, 2, 0, nullptr), QL_ERR_ARGUMENT);
    EXPECT_EQ(kb().QlSimLogGet(0, nullptr), QL_ERR_ARGUMENT);
    EXPECT_EQ(kb().QlSimReadArea(QL_SIM_AREA_INFO, 0, nullptr, 4), QL_ERR_ARGUMENT);

    // A report is 64 bytes; only the vendor collection takes reports.
    EXPECT_EQ(kb().RequestWriteOne(&vendor, nullptr, 0, report.data(), 63,
                                   callChecksum(vendor, nullptr, 0, report.data(), 63), nullptr),
              QL_ERR_ARGUMENT);
    EXPECT_EQ(kb().RequestWriteOne(&consumer, nullptr, 0, report.data(), 64,
                                   callChecksum(consumer, nullptr, 0, report.data(), 64), nullptr),
              QL_ERR_ARGUMENT);
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_FALSE(Recorder::instance().takeReply().has_value());
}

TEST_F(SimFramingTest, RequestWriteSendsSeveralReportsInOrder)
{
    const QlUnitId vendor = SimKeyboardControl::vendorUnit();
    uint8_t two[128];
    const Report first = makeRequest(1, 0, 0);
    const Report second = makeRequest(3, 44, 0);
    std::copy(first.begin(), first.end(), two);
    std::copy(second.begin(), second.end(), two + 64);
    ASSERT_EQ(kb().RequestWrite(&vendor, nullptr, 0, two, 128, callChecksum(vendor, nullptr, 0, two, 128), nullptr), 1);
    ASSERT_TRUE(kb().waitIdle());
    const std::optional<Report> a = Recorder::instance().takeReply();
    const std::optional<Report> b = Recorder::instance().takeReply();
    ASSERT_TRUE(a && b);
    EXPECT_EQ((*a)[3], 1);
    EXPECT_EQ((*b)[3], 3);
}

struct UnitCase {
    const char* name;
    QlUnitId unit;
    int32_t count;
};

TEST_F(SimFramingTest, DeviceCountIsPerCollection)
{
    const UnitCase cases[] = {
        {"vendor", SimKeyboardControl::vendorUnit(), 1},
        {"consumer", SimKeyboardControl::consumerUnit(), 1},
        {"status", SimKeyboardControl::statusUnit(), 1},
        {"other usage", SimKeyboardControl::unit(0xFF1C, 0x0093), 0},
        {"keyboard page", SimKeyboardControl::unit(0x0001, 0x0006), 0},
        {"other product", {15, 0x0C45, 0x5005, 0xFF1C, 0x0092, 0}, 0},
        {"other vendor", {15, 0x046D, 0x5004, 0xFF1C, 0x0092, 0}, 0},
        {"other match flags", {7, 0x0C45, 0x5004, 0xFF1C, 0x0092, 0}, 0},
        {"reserved bytes set", {15, 0x0C45, 0x5004, 0xFF1C, 0x0092, 1}, 0},
    };
    for (const UnitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(kb().RequestGetDeviceCount(&c.unit, nullptr, 0, callChecksum(c.unit, nullptr, 0), nullptr), c.count);
    }
    ASSERT_EQ(kb().QlSimUnplug(), 1);
    for (const UnitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(kb().RequestGetDeviceCount(&c.unit, nullptr, 0, callChecksum(c.unit, nullptr, 0), nullptr), 0);
    }
}

TEST_F(SimFramingTest, InitAndEndCanBeRepeated)
{
    EXPECT_EQ(kb().Init(0), 1);  // already up
    ASSERT_EQ(kb().End(), 1);
    EXPECT_EQ(kb().End(), QL_ERR_NOT_READY);
    const QlUnitId vendor = SimKeyboardControl::vendorUnit();
    EXPECT_EQ(kb().RequestGetDeviceCount(&vendor, nullptr, 0, callChecksum(vendor, nullptr, 0), nullptr),
              QL_ERR_NOT_READY);
    EXPECT_EQ(kb().QlSimReset(), QL_ERR_NOT_READY);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(kb().Init(0), 1);
        listen();
        EXPECT_EQ(statusOf(makeRequest(1, 0, 0)), kOk);
        ASSERT_EQ(kb().End(), 1);
    }
    ASSERT_EQ(kb().Init(0), 1);
}

TEST_F(SimFramingTest, OnlyTheAbiAndTheControlsAreExported)
{
    EXPECT_NE(dlsym(kb().handle(), "RequestWriteOne"), nullptr);
    EXPECT_NE(dlsym(kb().handle(), "QlSimReset"), nullptr);
    // trevolin::sim::SimTransport::instance() and a standard-library instance.
    EXPECT_EQ(dlsym(kb().handle(), "_ZN8trevolin3sim12SimTransport8instanceEv"), nullptr);
    EXPECT_EQ(dlsym(kb().handle(), "_ZN8trevolin3sim13FactoryKeymap5bytesEv"), nullptr);
}

TEST_F(SimFramingTest, DebugReturnsThePreviousLevel)
{
    EXPECT_EQ(kb().Debug(0), 0);
    EXPECT_EQ(kb().Debug(0), 0);
}

}  // namespace
}  // namespace simtest
