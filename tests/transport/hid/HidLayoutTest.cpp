#include "HidHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

namespace ql::hid::test {
namespace {

struct Layout {
    const char* name;
    std::vector<FakeDevice> nodes;
    std::string consumerPath;
    std::string vendorPath;
    std::string statusPath;
    ReportType statusType;
};

std::vector<Layout> layouts()
{
    return {
        {"one node plus a boot node",
         {bootNode(kBootPath), configNode(kConfigPath)},
         kConfigPath,
         kConfigPath,
         kConfigPath,
         ReportType::Output},
        {"split nodes",
         {bootNode(kBootPath), keyboardNode(kConfigPath, {Piece::Consumer, Piece::StatusOutput}),
          keyboardNode("/dev/hidraw2", {Piece::Vendor})},
         kConfigPath,
         "/dev/hidraw2",
         kConfigPath,
         ReportType::Output},
        {"status declared feature-only",
         {bootNode(kBootPath), keyboardNode(kConfigPath, {Piece::Consumer, Piece::Vendor, Piece::StatusFeature})},
         kConfigPath,
         kConfigPath,
         kConfigPath,
         ReportType::Feature},
    };
}

// The bank key as the program handles it: the consumer callback replaces
// the status request, and then waits (as a window that is slow to take the
// news would make it). The vendor reply an exchange waits for meanwhile
// must still arrive.
TEST(HidLayout, ASlowConsumerCallbackHoldsBackNoVendorReply)
{
    const std::vector<uint8_t> bankKey{0x03, 0xFF, 0x02};
    const std::vector<uint8_t> reply = HidHarness::vendorReport(0x40);
    for (const Layout& layout : layouts()) {
        SCOPED_TRACE(layout.name);
        HidHarness h;
        for (const FakeDevice& node : layout.nodes)
            h.devices->plug(node);
        uint32_t cons = 0, ctrl = 0, status = 0;
        ASSERT_EQ(h.read(kConsumerUnit, QL_TAG_CONS, cons), 1);
        ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, ctrl), 1);
        ASSERT_EQ(h.statusWrite({0x05, 0x02}, status), 1);
        EXPECT_EQ(h.devices->openHandles(kBootPath), 0) << "nobody asked for the typing interface";

        std::promise<bool> replySeen;
        CallbackRecorder::instance().setHook([&](const Notice& n) {
            if (n.tag != QL_TAG_CONS || n.kind != 1)
                return;
            h.api.deleteRequest(status);
            h.statusWrite({0x05, 0x03}, status);
            // Bounded, so that a library that serialises the two ends the test instead of hanging it.
            replySeen.set_value(CallbackRecorder::instance().waitFor(QL_TAG_CTRL, 1, std::chrono::seconds(10)));
        });
        h.devices->inject(layout.consumerPath, bankKey);
        h.devices->inject(layout.vendorPath, reply);
        EXPECT_TRUE(replySeen.get_future().get()) << "the vendor reply waited for the consumer callback";

        const auto consumer = CallbackRecorder::instance().withTag(QL_TAG_CONS);
        ASSERT_EQ(consumer.size(), 1u);
        EXPECT_EQ(consumer[0].consumerCode, 0x02FF);
        const auto vendor = CallbackRecorder::instance().withTag(QL_TAG_CTRL);
        ASSERT_EQ(vendor.size(), 1u);
        EXPECT_EQ(vendor[0].data, reply);
        const std::vector<SentReport> expected{{layout.statusPath, layout.statusType, {0x05, 0x02}},
                                               {layout.statusPath, layout.statusType, {0x05, 0x03}}};
        EXPECT_EQ(h.devices->sent(), expected);
    }
}

}  // namespace
}  // namespace ql::hid::test
