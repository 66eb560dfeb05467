#include "core/device/KeyboardCommands.h"
#include "support/FakeHidLibrary.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <numeric>

namespace trevolin::device {
namespace {

using test::FakeHidLibrary;
using Reply = FakeHidLibrary::Reply;

struct Sent {
    uint8_t command, length;
    uint16_t offset;
    bool operator==(const Sent&) const = default;
};

class CommandsTest : public ::testing::Test {
protected:
    CommandsTest() : library(fake.Exports()), exchange(library, clock), commands(exchange)
    {
        fake.replySink = [this](const uint8_t* d, uint32_t n) { exchange.OnReply(d, n); };
        // Replies carry data derived from the request, so copies can be checked.
        fake.answer = [](const DeviceReport& req, DeviceReport& reply) {
            for (size_t i = 0; i < DeviceReport::DataSize; ++i)
                reply.Data()[i] = static_cast<uint8_t>(req.Offset() + i);
        };
    }

    std::vector<Sent> SentReports() const
    {
        std::vector<Sent> s;
        for (const auto& r : fake.written)
            s.push_back({r.Command(), r.Length(), r.Offset()});
        return s;
    }

    FakeHidLibrary fake;
    HidLibrary library;
    test::ManualClock clock;
    ReportExchange exchange;
    KeyboardCommands commands;
};

TEST_F(CommandsTest, EveryCommandIsFramedWithItsNumberLengthAndOffset)
{
    uint8_t buf[512] = {};
    commands.SetCurrentProfile(2);
    const std::vector<std::pair<std::function<int()>, Sent>> cases = {
        {[&] { return commands.BeginConfig(); }, {1, 0, 0}},
        {[&] { return commands.EndConfig(); }, {2, 0, 0}},
        {[&] { return commands.ReadInfo(buf); }, {3, 44, 0}},
        {[&] { return commands.WriteInfo(buf); }, {4, 44, 0}},
        {[&] { return commands.ReadLighting(buf, 56, 84); }, {5, 56, 84}},
        {[&] { return commands.WriteLighting(buf, 1, 85); }, {6, 1, 85}},
        {[&] { return commands.Command11(); }, {11, 0, 0}},
        {[&] { return commands.Command12(); }, {12, 0, 0}},
        {[&] { return commands.Command13(); }, {13, 0, 0}},
        {[&] { return commands.Command14(); }, {14, 0, 0}},
        {[&] { return commands.ReadKeyColors(buf, 54, 18, 1); }, {16, 54, 512 + 54}},
        {[&] { return commands.WriteKeyColors(buf, 3, 143); }, {17, 3, 1453}},
    };
    for (const auto& [call, expected] : cases) {
        fake.written.clear();
        EXPECT_EQ(call(), 1);
        ASSERT_EQ(fake.written.size(), 1u);
        EXPECT_EQ(SentReports()[0], expected) << "command " << int(expected.command);
        const auto& r = fake.written[0];
        EXPECT_EQ(r[0], 4);
        EXPECT_EQ(r[7], 0);
        EXPECT_EQ(r.StoredChecksum(), r.ComputeChecksum());
    }
    // 1453 = 2 x 512 + 3 x 143, low byte first.
    EXPECT_EQ(fake.written[0][5], 0xAD);
    EXPECT_EQ(fake.written[0][6], 0x05);
}

TEST_F(CommandsTest, PausesComeBeforeTheReportTheyPrecede)
{
    static_cast<void>(commands.EndConfig());
    static_cast<void>(commands.Command12());
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{10, 10}));
    EXPECT_EQ(fake.written.size(), 2u);
}

TEST_F(CommandsTest, ReadsCopyTheWholeDataFieldAndOnlyOnSuccess)
{
    uint8_t out[56];
    std::fill(std::begin(out), std::end(out), 0xEE);
    ASSERT_EQ(commands.ReadLighting(out, 56, 84), 1);
    EXPECT_EQ(out[0], 84);
    EXPECT_EQ(out[55], 84 + 55);  // beyond the 42-byte record, still copied

    std::fill(std::begin(out), std::end(out), 0xEE);
    fake.replies.assign({{Reply::Normal, 0xFF}, {Reply::Normal, 0xFF}, {Reply::Normal, 0xFF}});
    EXPECT_EQ(commands.ReadKeyColors(out, 54, 0, 0), -102);
    EXPECT_EQ(out[0], 0xEE);
}

TEST_F(CommandsTest, WriteInfoSendsTheBlockBackAsRead)
{
    uint8_t info[44];
    std::iota(std::begin(info), std::end(info), 100);
    info[10] = 2;
    ASSERT_EQ(commands.WriteInfo(info), 1);
    EXPECT_TRUE(std::equal(info, info + 44, fake.written[0].Data()));
}

TEST_F(CommandsTest, BlockNumberOutOfRangeSendsNothing)
{
    uint8_t block[512] = {};
    EXPECT_EQ(commands.ReadKeymapBlock(block, 3), -201);
    EXPECT_EQ(commands.WriteKeymapBlock(block, 7), -201);
    EXPECT_EQ(commands.ReadKeymapBlock(block, -1), -201);
    EXPECT_TRUE(fake.written.empty());
}

TEST_F(CommandsTest, BlockTransfersAreCutIntoPiecesOf56)
{
    uint8_t block[512];
    ASSERT_EQ(commands.ReadKeymapBlock(block, 2), 1);
    ASSERT_EQ(fake.written.size(), 10u);
    for (size_t i = 0; i < 10; ++i) {
        const Sent expected{7, static_cast<uint8_t>(i < 9 ? 56 : 8), static_cast<uint16_t>(1024 + 56 * i)};
        EXPECT_EQ(SentReports()[i], expected) << i;
    }
    // Each piece lands at its own place: byte k came from offset 1024 + k.
    for (size_t k = 0; k < 512; ++k)
        ASSERT_EQ(block[k], static_cast<uint8_t>(1024 + k)) << k;

    fake.written.clear();
    std::vector<uint8_t> macros(100);
    std::iota(macros.begin(), macros.end(), 0);
    ASSERT_EQ(commands.WriteMacroArea(macros.data(), macros.size()), 1);
    EXPECT_EQ(SentReports(), (std::vector<Sent>{{10, 56, 0}, {10, 44, 56}}));
    const auto& last = fake.written[1];
    EXPECT_EQ(last.Data()[0], 56);
    EXPECT_EQ(last.Data()[43], 99);
    // Past the declared length the buffer still holds the first piece.
    EXPECT_EQ(last.Data()[44], 44);
    EXPECT_EQ(last.Data()[55], 55);
    EXPECT_EQ(last.StoredChecksum(), last.ComputeChecksum());

    fake.written.clear();
    EXPECT_EQ(commands.WriteMacroArea(macros.data(), 0), 1);
    EXPECT_TRUE(fake.written.empty());
}

TEST_F(CommandsTest, TransferStopsAtTheFirstFailingPiece)
{
    uint8_t block[512] = {};
    // Piece 1 is accepted, piece 2 refused on all three tries.
    fake.replies.assign({{}, {Reply::Normal, 0xFE}, {Reply::Normal, 0xFE}, {Reply::Normal, 0xFE}});
    EXPECT_EQ(commands.WriteKeymapBlock(block, 0), -103);
    EXPECT_EQ(fake.written.size(), 4u);

    fake.written.clear();
    fake.replies.assign({{Reply::Drop}, {Reply::Drop}, {Reply::Drop}});
    EXPECT_EQ(commands.ReadDefaultKeymap(block), -2);
    EXPECT_EQ(fake.written.size(), 3u);
}

TEST_F(CommandsTest, BootModeReportIsBareAndUnanswered)
{
    fake.deviceCount = 0;  // no presence test for this one
    EXPECT_EQ(commands.EnterBootMode(), 1);
    ASSERT_EQ(fake.written.size(), 1u);
    uint8_t expected[64] = {4, 0, 0, 0xEE, 0xEE};
    EXPECT_TRUE(std::equal(expected, expected + 64, fake.written[0].Bytes()));
    EXPECT_EQ(fake.checksumFailures, 0);

    fake.writeResult = 5;  // only exactly 1 means the keyboard took it
    EXPECT_EQ(commands.EnterBootMode(), 5);
}

TEST_F(CommandsTest, OversizedWriteIsRefusedBeforeSending)
{
    uint8_t data[64] = {};
    EXPECT_EQ(commands.WriteLighting(data, 57, 0), -1);
    EXPECT_EQ(commands.WriteMacroArea(data, 0x10001), -201);
    EXPECT_TRUE(fake.written.empty());
}

}  // namespace
}  // namespace trevolin::device
