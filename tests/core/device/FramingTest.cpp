#include "core/device/CallChecksum.h"
#include "core/device/DeviceReport.h"
#include "core/device/UnitId.h"
#include "transport/QlChecksum.h"

#include <gtest/gtest.h>

#include <set>

namespace trevolin::device {
namespace {

TEST(DeviceReport, ChecksumCoversBytes3To63Only)
{
    DeviceReport r(5, 56, 0x0054);
    r.Data()[55] = 0xFF;  // last byte of the report counts
    r[0] = 4;             // the report id does not
    r.SetChecksum();
    EXPECT_EQ(r[1] | (r[2] << 8), 5 + 56 + 0x54 + 0xFF);
    EXPECT_EQ(r.Offset(), 0x54);
    EXPECT_EQ(r[5], 0x54);
    EXPECT_EQ(r[6], 0x00);

    // The sum wraps at 16 bits.
    DeviceReport full;
    for (size_t i = 3; i < 64; ++i)
        full[i] = 0xFF;
    full.SetChecksum();
    EXPECT_EQ(full.StoredChecksum(), static_cast<uint16_t>(61 * 0xFF));
}

TEST(DeviceReport, ShortRequestIsPaddedWithZeros)
{
    uint8_t ten[10] = {4, 0, 0, 3, 44, 0, 0, 0, 0xAA, 0xBB};
    const auto r = DeviceReport::FromBytes(ten, sizeof ten);
    EXPECT_EQ(r[9], 0xBB);
    for (size_t i = 10; i < 64; ++i)
        EXPECT_EQ(r[i], 0) << i;
}

TEST(CallChecksum, TableIsAPermutationAndSumIsChainable)
{
    const auto& t = SumTable();
    EXPECT_EQ(std::set<uint8_t>(t.begin(), t.end()).size(), 256u);
    EXPECT_EQ(t[0], 0x3B);
    EXPECT_EQ(t[1], 0xD8);  // 0x9D + 0x3B, wrapped

    const uint8_t bytes[] = {1, 2, 3, 200, 255};
    EXPECT_EQ(CallChecksum(CallChecksum(7, bytes, 2), bytes + 2, 3), CallChecksum(7, bytes, 5));
}

uint32_t SampleCallback(const QlNotification*)
{
    return 1;
}

// The program's sum must agree with what the transport library checks.
TEST(CallChecksum, AgreesWithTheLibrarySideForEveryShapeOfCall)
{
    const uint8_t report[64] = {4, 1, 2, 3, 44};
    const uint8_t status[2] = {5, 2};
    struct Case {
        UnitId unit;
        QlCallback cb;
        uint32_t tag;
        const uint8_t* data;
        size_t length;
    } cases[] = {
        {VendorUnit, nullptr, 0, nullptr, 0},
        {VendorUnit, nullptr, 0, report, 64},
        {ConsumerUnit, &SampleCallback, TagCons, nullptr, 0},
        {VendorUnit, &SampleCallback, TagCtrl, nullptr, 0},
        {StatusUnit, &SampleCallback, TagDel, status, 2},
    };
    for (const auto& c : cases) {
        const QlUnitId abi = c.unit.toAbi();
        EXPECT_EQ(ChecksumOfCall(c.unit, c.cb, c.tag, c.data, c.length),
                  ql::callSum(&abi, c.cb, c.tag, c.data, c.length));
    }
    // The unit's bytes are little-endian, field by field.
    const auto b = VendorUnit.bytes();
    const std::array<uint8_t, 16> expected{15, 0, 0, 0, 0x45, 0x0C, 0x04, 0x50, 0x1C, 0xFF, 0x92, 0x00, 0, 0, 0, 0};
    EXPECT_EQ(b, expected);
}

}  // namespace
}  // namespace trevolin::device
