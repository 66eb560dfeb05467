#include "HidHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace ql::hid::test {
namespace {

// A one-way gate a callback can wait at until the test opens it.
class Gate {
public:
    void open()
    {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    void wait()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

TEST(HidDelete, DeleteWaitsForTheRunningCallbackAndStopsTheNext)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    uint32_t cons = 0, ctrl = 0;
    ASSERT_EQ(h.read(kConsumerUnit, QL_TAG_CONS, cons), 1);
    ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, ctrl), 1);

    Gate release;
    CallbackRecorder::instance().setHook([&](const Notice& n) {
        if (n.tag == QL_TAG_CONS)
            release.wait();
    });
    std::mutex mutex;
    std::condition_variable changed;
    bool waiting = false, deleted = false;
    h.api.transport()->setDeleteWaitObserver([&] {
        {
            std::lock_guard lock(mutex);
            waiting = true;
        }
        changed.notify_all();
    });

    h.devices->inject(kConfigPath, {0x03, 0xFF, 0x02});
    ASSERT_TRUE(CallbackRecorder::instance().waitFor(QL_TAG_CONS, 1));  // the callback is at the gate
    int32_t result = 0;
    std::thread deleter([&] {
        result = h.api.deleteRequest(cons);
        {
            std::lock_guard lock(mutex);
            deleted = true;
        }
        changed.notify_all();
    });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return waiting || deleted; });
        EXPECT_TRUE(waiting);
        EXPECT_FALSE(deleted) << "Delete returned while the callback was still running";
    }
    release.open();
    deleter.join();
    EXPECT_EQ(result, 1);

    h.devices->inject(kConfigPath, {0x03, 0xFF, 0x02});
    h.devices->inject(kConfigPath, HidHarness::vendorReport(0));
    ASSERT_TRUE(CallbackRecorder::instance().waitFor(QL_TAG_CTRL, 1));
    EXPECT_EQ(CallbackRecorder::instance().withTag(QL_TAG_CONS).size(), 1u);
}

TEST(HidDelete, CallbackMayDeleteItsOwnRequest)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    // A second request on the consumer collection, after the first: once it
    // has both reports, the first request has been offered both.
    constexpr uint32_t kTagMarker = 0x31;
    uint32_t cons = 0, marker = 0;
    ASSERT_EQ(h.read(kConsumerUnit, QL_TAG_CONS, cons), 1);
    ASSERT_EQ(h.read(kConsumerUnit, kTagMarker, marker), 1);
    std::atomic<int32_t> result{0};
    CallbackRecorder::instance().setHook([&](const Notice& n) {
        if (n.tag == QL_TAG_CONS)
            result = h.api.deleteRequest(cons);
    });
    h.devices->inject(kConfigPath, {0x03, 0x10, 0x18});
    h.devices->inject(kConfigPath, {0x03, 0x11, 0x18});
    ASSERT_TRUE(CallbackRecorder::instance().waitFor(kTagMarker, 2));
    EXPECT_EQ(result.load(), 1);
    EXPECT_EQ(CallbackRecorder::instance().withTag(QL_TAG_CONS).size(), 1u);
}

TEST(HidDelete, CallbackMayReplaceAnotherRequest)
{
    // What the program does on the bank key: delete the status request and
    // make a new one, from inside the consumer callback.
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    uint32_t cons = 0, status = 0;
    ASSERT_EQ(h.statusWrite({0x05, 0x02}, status), 1);
    ASSERT_EQ(h.read(kConsumerUnit, QL_TAG_CONS, cons), 1);
    std::atomic<int32_t> deleted{0}, written{0};
    CallbackRecorder::instance().setHook([&](const Notice& n) {
        if (n.tag != QL_TAG_CONS || n.consumerCode != 0x02FF)
            return;
        deleted = h.api.deleteRequest(status);
        written = h.statusWrite({0x05, 0x03}, status);
    });
    h.devices->inject(kConfigPath, {0x03, 0xFF, 0x02});
    // The next report is handed over by the same thread once the hook is done.
    h.devices->inject(kConfigPath, {0x03, 0x00, 0x00});
    ASSERT_TRUE(CallbackRecorder::instance().waitFor(QL_TAG_CONS, 2));
    EXPECT_EQ(deleted.load(), 1);
    EXPECT_EQ(written.load(), 1);
    const std::vector<SentReport> expected{{kConfigPath, ReportType::Output, {0x05, 0x02}},
                                           {kConfigPath, ReportType::Output, {0x05, 0x03}}};
    EXPECT_EQ(h.devices->sent(), expected);
}

TEST(HidDelete, UnknownHandlesAreHarmless)
{
    HidHarness h;
    uint32_t ctrl = 0;
    ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, ctrl), 1);
    EXPECT_EQ(h.api.deleteRequest(0), 0);
    EXPECT_EQ(h.api.deleteRequest(ctrl + 100), 0);
    EXPECT_EQ(h.api.deleteRequest(ctrl), 1);
    EXPECT_EQ(h.api.deleteRequest(ctrl), 0);
}

TEST(HidDelete, EndFromInsideACallbackIsRefused)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    uint32_t ctrl = 0;
    ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, ctrl), 1);
    std::atomic<int32_t> result{0};
    CallbackRecorder::instance().setHook([&](const Notice& n) {
        if (n.data == HidHarness::vendorReport(0))
            result = h.api.end();
    });
    h.devices->inject(kConfigPath, HidHarness::vendorReport(0));
    h.devices->inject(kConfigPath, HidHarness::vendorReport(1));
    ASSERT_TRUE(CallbackRecorder::instance().waitFor(QL_TAG_CTRL, 2));
    EXPECT_EQ(result.load(), QL_ERR_ARGUMENT);
    EXPECT_EQ(h.api.end(), 1);
    EXPECT_EQ(h.devices->openHandles(), 0);
}

}  // namespace
}  // namespace ql::hid::test
