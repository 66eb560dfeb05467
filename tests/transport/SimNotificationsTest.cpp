// Notifications: who hears what, on which thread, and the promise of
// DeleteRequestFromUnitId.
#include "SimTestSupport.h"

#include <atomic>
#include <chrono>

namespace simtest {
namespace {

class SimNotificationsTest : public SimKeyboardTest {};

const uint16_t kConsumerCodes[] = {0x02FF, 0x0401, 0x0402, 0x1810, 0x1811};

TEST_F(SimNotificationsTest, ConsumerCodesArriveOnTheConsumerChannelOnly)
{
    for (uint16_t code : kConsumerCodes) {
        SCOPED_TRACE(code);
        Recorder::instance().clear();
        ASSERT_EQ(kb().QlSimSendConsumerCode(code), 1);
        ASSERT_TRUE(kb().waitIdle());
        const std::vector<Note> notes = Recorder::instance().notes();
        ASSERT_EQ(notes.size(), 1u);
        const Note& n = notes[0];
        EXPECT_EQ(n.kind, 1u);
        EXPECT_EQ(n.tag, QL_TAG_CONS);
        EXPECT_EQ(n.consumerCode, code);
        EXPECT_EQ(n.count, 3u);
        EXPECT_EQ(n.data, (std::vector<uint8_t>{QL_SIM_CONSUMER_REPORT_ID, static_cast<uint8_t>(code & 0xFF),
                                                static_cast<uint8_t>(code >> 8)}));
        EXPECT_NE(n.thread, std::this_thread::get_id());
    }
}

TEST_F(SimNotificationsTest, RepliesGoToEveryVendorRequestOnTheKeyboardsThread)
{
    ASSERT_EQ(send(makeRequest(3, 44, 0)), 1);
    ASSERT_TRUE(kb().waitIdle());
    const std::vector<Note> notes = Recorder::instance().notes();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].tag, QL_TAG_CTRL);
    EXPECT_EQ(notes[0].kind, 1u);
    EXPECT_EQ(notes[0].count, 64u);
    EXPECT_EQ(notes[0].consumerCode, 0);
    EXPECT_NE(notes[0].thread, std::this_thread::get_id());
}

TEST_F(SimNotificationsTest, TheKeyBankStatusIsRecorded)
{
    const QlUnitId status = SimKeyboardControl::statusUnit();
    const QlUnitId vendor = SimKeyboardControl::vendorUnit();
    const uint8_t bank[2] = {0x05, 0x03};
    uint32_t handle = 0;
    uint8_t got[4] = {};
    EXPECT_EQ(kb().QlSimGetStatusReport(got, 4), 0);
    ASSERT_EQ(kb().RequestStatusWrite(&status, Recorder::callback, QL_TAG_DEL, bank, 2,
                                      callChecksum(status, Recorder::callback, QL_TAG_DEL, bank, 2), &handle),
              1);
    EXPECT_NE(handle, 0u);
    ASSERT_EQ(kb().QlSimGetStatusReport(got, 4), 2);
    EXPECT_EQ(got[0], 0x05);
    EXPECT_EQ(got[1], 0x03);
    uint8_t read[2] = {};
    EXPECT_EQ(kb().RequestStatusGet(&status, nullptr, 0, read, 2, callChecksum(status, nullptr, 0), nullptr), 2);
    EXPECT_EQ(read[1], 0x03);
    EXPECT_EQ(kb().DeleteRequestFromUnitId(handle), 1);
    EXPECT_EQ(kb().DeleteRequestFromUnitId(handle), 0);
    EXPECT_EQ(kb().DeleteRequestFromUnitId(0), 0);

    // The status goes to the status collection only.
    EXPECT_EQ(kb().RequestStatusWrite(&vendor, nullptr, 0, bank, 2, callChecksum(vendor, nullptr, 0, bank, 2), nullptr),
              QL_ERR_ARGUMENT);
    const uint8_t feature[3] = {0x06, 1, 2};
    ASSERT_EQ(kb().RequestStatusSetFeature(&status, nullptr, 0, feature, 3,
                                           callChecksum(status, nullptr, 0, feature, 3), nullptr),
              1);
    EXPECT_EQ(kb().QlSimGetFeatureReport(got, 4), 3);
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_TRUE(Recorder::instance().notes().empty()) << "status requests are kept, not notified";
}

// --- DeleteRequestFromUnitId ---------------------------------------------------

std::atomic<int> gSlowCalls{0};
std::atomic<bool> gInside{false};
std::atomic<bool> gFinished{false};

uint32_t slowCallback(const QlNotification* record)
{
    if (record->kind != 1)
        return 1;
    gInside = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    gFinished = true;
    ++gSlowCalls;
    gInside = false;
    return 1;
}

TEST_F(SimNotificationsTest, AfterDeleteReturnsTheCallbackIsNeitherRunningNorCalledAgain)
{
    const QlUnitId vendor = SimKeyboardControl::vendorUnit();
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        gSlowCalls = 0;
        gFinished = false;
        uint32_t handle = 0;
        ASSERT_EQ(kb().RequestAsyncRead(&vendor, slowCallback, QL_TAG_CTRL,
                                        callChecksum(vendor, slowCallback, QL_TAG_CTRL), &handle),
                  1);
        for (int i = 0; i < 5; ++i)
            ASSERT_EQ(send(makeRequest(1, 0, 0)), 1);
        while (!gInside)
            std::this_thread::yield();
        ASSERT_EQ(kb().DeleteRequestFromUnitId(handle), 1);
        EXPECT_FALSE(gInside.load());
        EXPECT_TRUE(gFinished.load()) << "Delete returned while the callback was still running";
        const int calls = gSlowCalls;
        ASSERT_TRUE(kb().waitIdle());
        EXPECT_EQ(gSlowCalls.load(), calls);
        EXPECT_LT(calls, 5);
    }
}

std::atomic<uint32_t> gSelfHandle{0};
std::atomic<int> gSelfCalls{0};
SimKeyboardControl* gControl = nullptr;

uint32_t selfDeletingCallback(const QlNotification* record)
{
    if (record->kind == 1) {
        ++gSelfCalls;
        gControl->DeleteRequestFromUnitId(gSelfHandle);  // must not wait for itself
    }
    return 1;
}

TEST_F(SimNotificationsTest, ACallbackMayDeleteItsOwnRequest)
{
    const QlUnitId vendor = SimKeyboardControl::vendorUnit();
    gControl = &kb();
    gSelfCalls = 0;
    uint32_t handle = 0;
    ASSERT_EQ(kb().RequestAsyncRead(&vendor, selfDeletingCallback, QL_TAG_CTRL,
                                    callChecksum(vendor, selfDeletingCallback, QL_TAG_CTRL), &handle),
              1);
    gSelfHandle = handle;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(send(makeRequest(1, 0, 0)), 1);
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_EQ(gSelfCalls.load(), 1);
    EXPECT_EQ(Recorder::instance().notes(QL_TAG_CTRL, 1).size(), 3u) << "the fixture's request still hears all";
}

std::atomic<int> gBusyCalls{0};

uint32_t countingCallback(const QlNotification*)
{
    ++gBusyCalls;
    return 1;
}

// Registrations come and go while the keyboard is busy answering.
TEST_F(SimNotificationsTest, DeletingWhileRepliesFlowIsSafe)
{
    const QlUnitId vendor = SimKeyboardControl::vendorUnit();
    std::atomic<bool> stop{false};
    std::thread sender([&] {
        while (!stop) {
            send(makeRequest(3, 44, 0));
            std::this_thread::yield();
        }
    });
    for (int i = 0; i < 200; ++i) {
        uint32_t handle = 0;
        ASSERT_EQ(kb().RequestAsyncRead(&vendor, countingCallback, QL_TAG_CTRL,
                                        callChecksum(vendor, countingCallback, QL_TAG_CTRL), &handle),
                  1);
        ASSERT_EQ(kb().DeleteRequestFromHandle(handle), 1);
        const int after = gBusyCalls;
        ASSERT_EQ(kb().DeleteRequestFromUnitId(handle), 0);
        EXPECT_EQ(gBusyCalls.load(), after);
    }
    stop = true;
    sender.join();
    const int before = gBusyCalls;
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_EQ(gBusyCalls.load(), before);
}

TEST_F(SimNotificationsTest, WaitIdleIsRefusedInsideACallback)
{
    static std::atomic<int32_t> result{1};
    const QlUnitId consumer = SimKeyboardControl::consumerUnit();
    gControl = &kb();
    uint32_t handle = 0;
    QlCallback callback = [](const QlNotification* record) -> uint32_t {
        if (record->kind == 1)
            result = gControl->QlSimWaitIdle(1000);
        return 1;
    };
    ASSERT_EQ(
        kb().RequestAsyncRead(&consumer, callback, QL_TAG_CONS, callChecksum(consumer, callback, QL_TAG_CONS), &handle),
        1);
    ASSERT_EQ(kb().QlSimSendConsumerCode(0x0401), 1);
    ASSERT_TRUE(kb().waitIdle());
    EXPECT_EQ(result.load(), QL_ERR_ARGUMENT);
    EXPECT_EQ(kb().DeleteRequestFromUnitId(handle), 1);
}

}  // namespace
}  // namespace simtest
