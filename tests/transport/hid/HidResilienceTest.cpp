#include "HidHarness.h"

#include <gtest/gtest.h>

#include <chrono>

namespace ql::hid::test {
namespace {

TEST(HidResilience, InterruptsAndEmptyListingsChangeNothingAndAnUnplugIsToldOnce)
{
    HidHarness h;
    h.devices->plug(bootNode(kBootPath));
    h.devices->plug(configNode(kConfigPath));
    uint32_t cons = 0, ctrl = 0, status = 0;
    ASSERT_EQ(h.read(kConsumerUnit, QL_TAG_CONS, cons), 1);
    ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, ctrl), 1);
    ASSERT_EQ(h.statusWrite({0x05, 0x02}, status), 1);
    h.poll();
    ASSERT_EQ(h.devices->openHandles(kConfigPath), 3) << "a file per collection asked for";

    // A signal (SIGCHLD of a program just started, say) lands in every
    // poll(): the hotplug thread's and each of the three channels'.
    ASSERT_TRUE(h.devices->interruptPolls(4));
    // An enumeration that fails, then one that finds nothing.
    h.devices->setListing(FakeDeviceSet::Listing::Fails);
    h.poll();
    h.devices->setListing(FakeDeviceSet::Listing::Empty);
    h.poll();
    h.devices->setListing(FakeDeviceSet::Listing::Normal);

    EXPECT_TRUE(CallbackRecorder::instance().notices().empty());
    EXPECT_EQ(h.count(kVendorUnit), 1);
    EXPECT_EQ(h.devices->openHandles(kConfigPath), 3);
    const auto reply = HidHarness::vendorReport(9);
    h.devices->inject(kConfigPath, reply);
    ASSERT_TRUE(CallbackRecorder::instance().waitFor(QL_TAG_CTRL, 1));
    EXPECT_EQ(CallbackRecorder::instance().withTag(QL_TAG_CTRL)[0].data, reply);
    EXPECT_EQ(h.writeOne(kVendorUnit, reply), 1);

    // Now it really goes: every file hangs up, and udev says so too.
    h.devices->unplug(kConfigPath);
    h.devices->unplug(kBootPath);
    ASSERT_TRUE(CallbackRecorder::instance().waitUntil([](const std::vector<Notice>& all) {
        return std::count_if(all.begin(), all.end(), [](const Notice& n) { return n.kind == 0; }) >= 2;
    }));
    h.poll();  // whatever else was on its way has come
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CTRL), (std::vector<uint32_t>{0}));
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CONS), (std::vector<uint32_t>{0}));

    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(h.api.end(), 1);
    // A guard against End waiting on a timeout, not a measure of speed.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(h.devices->openHandles(), 0);
}

TEST(HidResilience, ANodeThatFailsAtOnceIsReopenedOnlyAfterABackOff)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    uint32_t ctrl = 0;
    ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, ctrl), 1);
    ASSERT_EQ(h.count(kVendorUnit), 1);

    // It hangs up as soon as it is open, and stays listed.
    h.devices->hangUp(kConfigPath);
    ASSERT_TRUE(CallbackRecorder::instance().waitFor(QL_TAG_CTRL, 1));
    h.poll();
    EXPECT_EQ(h.devices->openHandles(), 0) << "not opened again at once";
    h.advanceClock(std::chrono::seconds(1));
    h.poll();
    EXPECT_EQ(h.count(kVendorUnit), 1);
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CTRL), (std::vector<uint32_t>{0, 1}));

    // Again at once: the wait doubles.
    h.devices->hangUp(kConfigPath);
    ASSERT_TRUE(CallbackRecorder::instance().waitFor(QL_TAG_CTRL, 3));
    h.advanceClock(std::chrono::seconds(1));
    h.poll();
    EXPECT_EQ(h.count(kVendorUnit), 0);
    h.advanceClock(std::chrono::seconds(1));
    h.poll();
    EXPECT_EQ(h.count(kVendorUnit), 1);

    // Unplugged and plugged in again, it is a new device: no wait.
    h.devices->hangUp(kConfigPath);
    h.devices->unplug(kConfigPath);
    h.poll();
    h.devices->plug(configNode(kConfigPath));
    h.poll();
    EXPECT_EQ(h.count(kVendorUnit), 1);
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CTRL), (std::vector<uint32_t>{0, 1, 0, 1, 0, 1}));
}

}  // namespace
}  // namespace ql::hid::test
