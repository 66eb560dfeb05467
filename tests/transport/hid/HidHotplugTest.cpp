#include "HidHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace ql::hid::test {
namespace {

TEST(HidHotplug, CountChangesAreToldToEveryReadRequest)
{
    HidHarness h;
    uint32_t cons = 0, ctrl = 0;
    ASSERT_EQ(h.read(kConsumerUnit, QL_TAG_CONS, cons), 1);
    ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, ctrl), 1);

    h.devices->plug(configNode(kConfigPath));
    h.poll();
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CTRL), (std::vector<uint32_t>{1}));
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CONS), (std::vector<uint32_t>{1}));

    // A request made while the keyboard is there hears only of changes.
    uint32_t late = 0;
    ASSERT_EQ(h.read(kVendorUnit, 0x4C415445, late), 1);
    h.poll();
    EXPECT_TRUE(CallbackRecorder::instance().countsOf(0x4C415445).empty());
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CTRL).size(), 1u) << "no change, no notice";

    h.devices->unplug(kConfigPath);
    h.poll();
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CTRL), (std::vector<uint32_t>{1, 0}));
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CONS), (std::vector<uint32_t>{1, 0}));
    EXPECT_EQ(CallbackRecorder::instance().countsOf(0x4C415445), (std::vector<uint32_t>{0}));
    EXPECT_EQ(h.count(kVendorUnit), 0);
    EXPECT_EQ(h.devices->openHandles(), 0);

    // Plugged in again it may get another node; the library follows it.
    h.devices->plug(configNode("/dev/hidraw6"));
    h.poll();
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CTRL), (std::vector<uint32_t>{1, 0, 1}));
    const auto report = HidHarness::vendorReport(0);
    EXPECT_EQ(h.writeOne(kVendorUnit, report), 1);
    ASSERT_EQ(h.devices->sent().size(), 1u);
    EXPECT_EQ(h.devices->sent()[0].path, "/dev/hidraw6");

    for (const Notice& n : CallbackRecorder::instance().notices())
        EXPECT_NE(n.thread, std::this_thread::get_id());
}

TEST(HidHotplug, PulledOutDuringWrite)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    uint32_t ctrl = 0;
    ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, ctrl), 1);
    h.devices->setWriteHook([&](const std::string& path) { h.devices->unplug(path); });

    EXPECT_LT(h.writeOne(kVendorUnit, HidHarness::vendorReport(0)), 0);
    // No poll asked for: the failed write and the failed read bring the news.
    ASSERT_TRUE(CallbackRecorder::instance().waitFor(QL_TAG_CTRL, 1));
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CTRL), (std::vector<uint32_t>{0}));
    EXPECT_EQ(h.count(kVendorUnit), 0);
    EXPECT_EQ(h.writeOne(kVendorUnit, HidHarness::vendorReport(0)), QL_ERR_NO_DEVICE);
    EXPECT_TRUE(h.devices->sent().empty());

    h.devices->setWriteHook(nullptr);
    h.devices->plug(configNode(kConfigPath));
    h.poll();
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CTRL), (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ(h.writeOne(kVendorUnit, HidHarness::vendorReport(0)), 1);
}

TEST(HidHotplug, PulledOutDuringRead)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    uint32_t cons = 0, ctrl = 0;
    ASSERT_EQ(h.read(kConsumerUnit, QL_TAG_CONS, cons), 1);
    ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, ctrl), 1);
    // The keyboard goes while its report is being handed over, with two
    // more reports still queued behind it.
    std::promise<void> queued;
    const std::shared_future<void> allQueued = queued.get_future().share();
    CallbackRecorder::instance().setHook([&](const Notice& n) {
        if (n.tag == QL_TAG_CONS && n.kind == 1) {
            allQueued.wait();
            h.devices->unplug(kConfigPath);
        }
    });
    h.devices->inject(kConfigPath, {0x03, 0x01, 0x04});
    h.devices->inject(kConfigPath, {0x03, 0x02, 0x04});
    h.devices->inject(kConfigPath, HidHarness::vendorReport(0));
    queued.set_value();

    ASSERT_TRUE(CallbackRecorder::instance().waitUntil([](const std::vector<Notice>& all) {
        return std::count_if(all.begin(), all.end(), [](const Notice& n) { return n.kind == 0; }) == 2;
    }));
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CTRL), (std::vector<uint32_t>{0}));
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CONS), (std::vector<uint32_t>{0}));
    // hidraw still hands out what was queued before the hangup.
    const auto consumer = CallbackRecorder::instance().withTag(QL_TAG_CONS);
    ASSERT_EQ(consumer.size(), 3u) << "both reports, then the count";
    EXPECT_EQ(consumer[1].consumerCode, 0x0402);
    EXPECT_EQ(consumer[2].kind, 0u);
    EXPECT_EQ(h.count(kConsumerUnit), 0);
    h.poll();  // the pass that follows the count has closed every file
    EXPECT_EQ(h.devices->openHandles(), 0);
}

TEST(HidHotplug, WritesRacingUnplugsFailCleanly)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    ASSERT_EQ(h.count(kVendorUnit), 1);
    std::atomic<bool> bad{false};
    auto writer = [&] {
        for (int i = 0; i < 200; ++i) {
            const int32_t r = h.writeOne(kVendorUnit, HidHarness::vendorReport(static_cast<uint8_t>(i)));
            if (r != 1 && r != QL_ERR_NO_DEVICE && r != QL_ERR_IO)
                bad = true;
        }
    };
    std::thread a(writer), b(writer);
    for (int i = 0; i < 20; ++i) {
        h.devices->unplug(kConfigPath);
        h.poll();
        h.devices->plug(configNode(kConfigPath));
        h.poll();
    }
    a.join();
    b.join();
    EXPECT_FALSE(bad);
    EXPECT_EQ(h.count(kVendorUnit), 1);
}

}  // namespace
}  // namespace ql::hid::test
