#include "HidHarness.h"

#include <gtest/gtest.h>

namespace ql::hid::test {
namespace {

TEST(HidRouting, InputReportsReachTheirCollectionsRequestsOnce)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    h.devices->plug(bootNode(kBootPath));
    uint32_t cons = 0, ctrl = 0, boot = 0;
    ASSERT_EQ(h.read(kConsumerUnit, QL_TAG_CONS, cons), 1);
    ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, ctrl), 1);
    ASSERT_EQ(h.read(kBootUnit, kTagBoot, boot), 1);
    EXPECT_NE(cons, 0u);
    EXPECT_NE(ctrl, cons);

    const std::vector<uint8_t> bankKey{0x03, 0xFF, 0x02};
    const std::vector<uint8_t> shortConsumer{0x03, 0x01};
    const std::vector<uint8_t> unknownId{0x09, 0x01, 0x02};
    const std::vector<uint8_t> reply = HidHarness::vendorReport(0x10);
    const std::vector<uint8_t> marker = HidHarness::vendorReport(0x20);
    const std::vector<uint8_t> key{0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00};
    for (const auto& report : {bankKey, unknownId, shortConsumer, reply, marker})
        h.devices->inject(kConfigPath, report);
    h.devices->inject(kBootPath, key);

    // Each collection reads the node's reports in order, on its own thread:
    // once its last report is in, the ones before it are.
    auto& recorder = CallbackRecorder::instance();
    ASSERT_TRUE(recorder.waitFor(QL_TAG_CTRL, 2));
    ASSERT_TRUE(recorder.waitFor(QL_TAG_CONS, 2));
    ASSERT_TRUE(recorder.waitFor(kTagBoot, 1));

    const auto consumer = recorder.withTag(QL_TAG_CONS);
    ASSERT_EQ(consumer.size(), 2u);
    EXPECT_EQ(consumer[0].kind, 1u);
    EXPECT_EQ(consumer[0].data, bankKey);
    EXPECT_EQ(consumer[0].count, 3u);
    EXPECT_EQ(consumer[0].consumerCode, 0x02FF);
    EXPECT_EQ(consumer[1].data, shortConsumer);
    EXPECT_EQ(consumer[1].consumerCode, 0) << "a report too short for a code carries none";

    const auto vendor = recorder.withTag(QL_TAG_CTRL);
    ASSERT_EQ(vendor.size(), 2u);
    EXPECT_EQ(vendor[0].kind, 1u);
    EXPECT_EQ(vendor[0].count, 64u);
    EXPECT_EQ(vendor[0].data, reply);
    EXPECT_EQ(vendor[0].consumerCode, 0);
    EXPECT_EQ(vendor[1].data, marker);

    const auto keys = recorder.withTag(kTagBoot);
    ASSERT_EQ(keys.size(), 1u);
    std::vector<uint8_t> withId{0x00};
    withId.insert(withId.end(), key.begin(), key.end());
    EXPECT_EQ(keys[0].data, withId) << "unnumbered reports reach the caller with report id 0 first";
    EXPECT_EQ(keys[0].count, 9u);

    for (const Notice& n : recorder.notices())
        EXPECT_NE(n.thread, std::this_thread::get_id());
}

TEST(HidRouting, SeveralRequestsOnOneCollectionEachGetTheReport)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    uint32_t first = 0, second = 0;
    ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, first), 1);
    ASSERT_EQ(h.read(kVendorUnit, 0x31, second), 1);
    h.devices->inject(kConfigPath, HidHarness::vendorReport(1));
    h.devices->inject(kConfigPath, HidHarness::vendorReport(2));
    auto& recorder = CallbackRecorder::instance();
    ASSERT_TRUE(recorder.waitFor(0x31, 2));
    ASSERT_TRUE(recorder.waitFor(QL_TAG_CTRL, 2));
    EXPECT_EQ(recorder.notices().size(), 4u);
    EXPECT_EQ(recorder.withTag(0x31)[0].data, HidHarness::vendorReport(1));
}

}  // namespace
}  // namespace ql::hid::test
