#include "core/device/KeyboardCommands.h"
#include "core/device/ReportExchange.h"
#include "support/FakeHidLibrary.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

namespace trevolin::device {
namespace {

using test::FakeHidLibrary;
using Reply = FakeHidLibrary::Reply;

class ExchangeTest : public ::testing::Test {
protected:
    ExchangeTest() : library(fake.Exports()), exchange(library, clock), commands(exchange)
    {
        fake.replySink = [this](const uint8_t* d, uint32_t n) { exchange.OnReply(d, n); };
    }

    FakeHidLibrary fake;
    HidLibrary library;
    test::ManualClock clock;
    ReportExchange exchange;
    KeyboardCommands commands;
};

TEST_F(ExchangeTest, ResultsAndRetries)
{
    struct Case {
        const char* name;
        std::vector<Reply> script;
        int writeResult;
        int expected;  // after the status mapping
        size_t reportsSent;
    } cases[] = {
        {"answered at once", {}, 1, 1, 1},
        {"busy twice then accepted", {{Reply::Normal, 0xFE}, {Reply::Normal, 0xFE}}, 1, 1, 3},
        {"refused three times", {{Reply::Normal, 0xFF}, {Reply::Normal, 0xFF}, {Reply::Normal, 0xFF}}, 1, -102, 3},
        {"busy three times", {{Reply::Normal, 0xFE}, {Reply::Normal, 0xFE}, {Reply::Normal, 0xFE}}, 1, -103, 3},
        {"silent three times", {{Reply::Drop}, {Reply::Drop}, {Reply::Drop}}, 1, -2, 3},
        {"silent once", {{Reply::Drop}}, 1, 1, 2},
        {"wrong echo three times", {{Reply::OtherCommand}, {Reply::OtherCommand}, {Reply::OtherCommand}}, 1, -2, 3},
        {"wrong echo then right", {{Reply::OtherCommand}}, 1, 1, 2},
        {"library refuses the write", {}, 0, -1, 1},
        {"library error", {}, -13, -1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake.written.clear();
        fake.replies.assign(c.script.begin(), c.script.end());
        fake.writeResult = c.writeResult;
        EXPECT_EQ(commands.BeginConfig(), c.expected);
        EXPECT_EQ(fake.written.size(), c.reportsSent);
        EXPECT_FALSE(exchange.Awaiting());
    }
    EXPECT_EQ(fake.checksumFailures, 0);
}

TEST_F(ExchangeTest, TimeoutsAndPausesFollowTheClock)
{
    fake.replies.assign({{Reply::Drop}, {Reply::Drop}, {Reply::Drop}});
    const uint64_t start = clock.NowMs();
    EXPECT_EQ(commands.Command13(), -2);
    EXPECT_EQ(clock.NowMs() - start, 3 * 1000u + 2 * 10u);
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{10, 10}));
}

TEST_F(ExchangeTest, NoKeyboardSendsNothing)
{
    fake.deviceCount = 0;
    uint8_t info[44] = {};
    EXPECT_EQ(commands.ReadInfo(info), 0);
    uint8_t block[512] = {};
    EXPECT_EQ(commands.WriteKeymapBlock(block, 1), 0);
    EXPECT_TRUE(fake.written.empty());
}

TEST_F(ExchangeTest, FailedWaitEndsTheExchange)
{
    clock.FailNextWait();
    EXPECT_EQ(commands.BeginConfig(), 0);
    EXPECT_EQ(fake.written.size(), 1u);
}

TEST_F(ExchangeTest, ReplyIsTruncatedToTheCallersCapacityAndRequestPadded)
{
    const uint8_t request[10] = {4, 0, 0, 3, 44, 0, 0, 0, 9, 9};
    uint8_t reply[16] = {};
    uint32_t length = 99;
    EXPECT_EQ(exchange.ExchangeReport(request, sizeof request, reply, sizeof reply, &length), 1);
    EXPECT_EQ(length, 16u);
    EXPECT_EQ(reply[3], 3);
    ASSERT_EQ(fake.written.size(), 1u);
    EXPECT_EQ(fake.calls.back(), "RequestWriteOne 64");
    for (size_t i = 10; i < 64; ++i)
        EXPECT_EQ(fake.written[0][i], 0);
}

TEST_F(ExchangeTest, ReplyWithNobodyWaitingIsDropped)
{
    uint8_t stale[64] = {4, 0, 0, 3};
    exchange.OnReply(stale, sizeof stale);  // arrives between exchanges
    fake.replies.assign({{Reply::Drop}});
    uint8_t info[44];
    static_cast<void>(commands.ReadInfo(info));
    // The stale reply did not answer the read: it had to be sent again.
    EXPECT_EQ(fake.written.size(), 2u);
}

// A keyboard that answers just after the timeout: the echo of an earlier
// piece arrives while the next piece waits. Taking it would shift every
// following piece of the transfer by one.
TEST_F(ExchangeTest, LateEchoOfAnEarlierPieceIsNotTakenForTheNextOne)
{
    fake.answer = [](const DeviceReport& request, DeviceReport& reply) {
        for (size_t i = 0; i < request.Length(); ++i)
            reply.Data()[i] = static_cast<uint8_t>(request.Offset() + i);
    };
    // Read: piece 1 first hears piece 0's echo, then its own answer on the resend.
    fake.replies.assign({{Reply::Normal}, {Reply::Stale}});
    std::vector<uint8_t> read(112);
    EXPECT_EQ(exchange.ReadChunked(9, 0, read.data(), read.size()), 1);
    for (size_t i = 0; i < read.size(); ++i)
        ASSERT_EQ(read[i], static_cast<uint8_t>(i)) << "byte " << i;
    ASSERT_EQ(fake.written.size(), 3u);
    EXPECT_EQ(fake.written[2].Offset(), 56);

    // Write: the stale echo must not confirm piece 1, which is sent again.
    fake.written.clear();
    fake.replies.assign({{Reply::Normal}, {Reply::Stale}});
    const std::vector<uint8_t> data(112, 0xAB);
    EXPECT_EQ(exchange.WriteChunked(10, 0, data.data(), data.size()), 1);
    ASSERT_EQ(fake.written.size(), 3u);
    EXPECT_EQ(fake.written[2].Offset(), 56);
    EXPECT_FALSE(exchange.Awaiting());
}

TEST(ReplySlot, ReplyToAnotherRequestIsStale)
{
    ReplySlot slot;
    slot.Arm(64, {9, 56});
    const uint8_t otherOffset[8] = {4, 0, 0, 9, 56, 0, 0, 0};
    const uint8_t otherCommand[8] = {4, 0, 0, 7, 56, 56, 0, 0};
    const uint8_t tooShort[6] = {4, 0, 0, 9, 56, 56};
    const uint8_t answer[8] = {4, 0, 0, 9, 56, 56, 0, 0};
    EXPECT_FALSE(slot.Deliver(otherOffset, sizeof otherOffset));
    EXPECT_FALSE(slot.Deliver(otherCommand, sizeof otherCommand));
    EXPECT_FALSE(slot.Deliver(tooShort, sizeof tooShort));
    EXPECT_TRUE(slot.Deliver(answer, sizeof answer));
}

TEST(ReplySlot, LateReplyNeverReachesAnExchangeThatEnded)
{
    ReplySlot slot;
    test::ManualClock clock;
    uint8_t out[64] = {};
    uint32_t length = 0;
    slot.Arm(64, {7, 0});
    EXPECT_EQ(slot.Wait(clock, 1000, out, length), platform::WaitResult::Timeout);
    slot.Disarm();
    const uint8_t late[64] = {4, 0, 0, 7};
    EXPECT_FALSE(slot.Deliver(late, sizeof late));
    slot.Arm(64, {7, 0});  // the next exchange starts clean
    EXPECT_EQ(slot.Wait(clock, 1000, out, length), platform::WaitResult::Timeout);
    EXPECT_EQ(out[3], 0);
}

}  // namespace
}  // namespace trevolin::device
