// The device link against the simulated keyboard: real threads, the
// keyboard's replies on the library's own thread, the real clock.
#include "core/device/DeviceSession.h"
#include "support/RecordingMainWindow.h"
#include "transport/sim/SimKeyboardControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <numeric>
#include <thread>

namespace trevolin::device {
namespace {

using sim::SimKeyboardControl;

class SimLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kb.ok()) << kb.error();
        auto loaded = LoadHidLibrary(SimulatedHidLibrary);
        ASSERT_EQ(loaded.error, LoadError::None) << loaded.detail;
        library = loaded.library;
        ASSERT_EQ(library.Init(0), 1);
        ASSERT_EQ(kb.QlSimReset(), 1);
        ASSERT_TRUE(kb.waitIdle());
        session = std::make_unique<DeviceSession>(library, window, workers, platform::SteadyClock::Instance());
        ASSERT_TRUE(session->Start(false));
        workers.JoinAll();
        ASSERT_EQ(session->DeviceCount(), 1u);
        kb.QlSimLogClear();
    }

    void TearDown() override
    {
        session.reset();
        workers.JoinAll();
    }

    // Lets everything the keyboard started finish: its notifications, then
    // the workers they started.
    void Settle()
    {
        ASSERT_TRUE(kb.waitIdle());
        workers.JoinAll();
    }

    SimKeyboardControl& kb = SimKeyboardControl::instance();
    HidLibrary library;
    test::RecordingMainWindow window;
    platform::ThreadTaskRunner workers;
    std::unique_ptr<DeviceSession> session;
};

TEST_F(SimLinkTest, ArrivalReadsTheKeyboardsDefaultKeymapAndCapacity)
{
    std::array<uint8_t, 512> keymap{};
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_DEFAULT_KEYMAP, 0, keymap.data(), 512), 1);
    EXPECT_EQ(session->FactoryKeymap(), keymap);
    uint8_t info[44];
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_INFO, 0, info, 44), 1);
    EXPECT_EQ(session->MacroCapacity(), info[11] * 128u);
    EXPECT_EQ(window.Events(), (std::vector<std::string>{"keyboard arriving", "profile sync", "tray 141", "open window"}));
}

TEST_F(SimLinkTest, BlocksRoundTripThroughTheKeyboard)
{
    auto& c = session->Commands();
    std::array<uint8_t, 512> written{}, read{};
    std::iota(written.begin(), written.end(), 7);
    ASSERT_EQ(c.BeginConfig(), 1);
    ASSERT_EQ(c.WriteKeymapBlock(written.data(), 2), 1);
    ASSERT_EQ(c.EndConfig(), 1);
    ASSERT_EQ(c.ReadKeymapBlock(read.data(), 2), 1);
    EXPECT_EQ(read, written);
    // 1 + 10 + 1 + 10 reports reached the keyboard.
    EXPECT_EQ(kb.QlSimLogCount(), 22);

    std::vector<uint8_t> macros(300), back(300);
    std::iota(macros.begin(), macros.end(), 1);
    ASSERT_EQ(c.WriteMacroArea(macros.data(), macros.size()), 1);
    ASSERT_EQ(c.ReadMacroArea(back.data(), back.size()), 1);
    EXPECT_EQ(back, macros);
}

// A keyboard that takes just over the one-second reply timeout for each
// report: a piece is sent again, and the echo of its second send arrives
// while the next piece waits. Taken for that piece's reply it would shift
// the transfer by one piece; a read would return another piece's bytes.
TEST_F(SimLinkTest, KeyboardAnsweringJustAfterTheTimeoutKeepsPiecesInPlace)
{
    auto& c = session->Commands();
    std::vector<uint8_t> written(112), held(112), read(112);
    std::iota(written.begin(), written.end(), 1);
    ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_MACRO, 0, written.data(), 112), 1);

    ASSERT_EQ(kb.QlSimSetLatency(1100), 1);
    EXPECT_EQ(c.ReadMacroArea(read.data(), read.size()), 1);
    EXPECT_EQ(read, written);
    // The keyboard still owes answers to the resends: let it catch up.
    ASSERT_EQ(kb.QlSimSetLatency(0), 1);
    Settle();

    std::reverse(written.begin(), written.end());
    ASSERT_EQ(kb.QlSimSetLatency(1100), 1);
    EXPECT_EQ(c.WriteMacroArea(written.data(), written.size()), 1);
    ASSERT_EQ(kb.QlSimSetLatency(0), 1);
    Settle();
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_MACRO, 0, held.data(), 112), 1);
    EXPECT_EQ(held, written);
}

// The keyboard switches its key bank while a write waits for its replies:
// the notification arrives on the library's thread, which must not wait for
// anyone, and the write still gets every reply.
TEST_F(SimLinkTest, BankSwitchDuringAWriteNeitherBlocksNorDisturbsIt)
{
    std::vector<uint8_t> written(300);
    std::iota(written.begin(), written.end(), 3);
    ASSERT_EQ(kb.QlSimSetLatency(20), 1);
    window.Clear();
    auto writing = std::async(std::launch::async,
                              [&] { return session->Commands().WriteMacroArea(written.data(), written.size()); });
    ASSERT_EQ(kb.QlSimSendConsumerCode(ConsumerBankSwitch), 1);
    EXPECT_EQ(writing.get(), 1);
    ASSERT_EQ(kb.QlSimSetLatency(0), 1);
    Settle();
    EXPECT_TRUE(session->BankB());
    EXPECT_EQ(window.Count("key bank changed"), 1u);
    std::vector<uint8_t> held(300);
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_MACRO, 0, held.data(), 300), 1);
    EXPECT_EQ(held, written);
}

TEST_F(SimLinkTest, RefusalsAndRetriesAgainstTheKeyboard)
{
    auto& c = session->Commands();
    ASSERT_EQ(kb.QlSimFailStatus(0xFE, 2), 1);
    EXPECT_EQ(c.BeginConfig(), 1);
    EXPECT_EQ(kb.QlSimLogCount(), 3);

    ASSERT_EQ(kb.QlSimFailStatus(0xFF, 3), 1);
    uint8_t info[44];
    EXPECT_EQ(c.ReadInfo(info), -102);

    // An area the keyboard does not have is refused by the keyboard itself.
    uint8_t data[3] = {1, 2, 3};
    EXPECT_EQ(c.WriteLighting(data, 3, 126), -103);

    ASSERT_EQ(kb.QlSimRefuseWrites(1), 1);
    EXPECT_EQ(c.BeginConfig(), -1);
}

TEST_F(SimLinkTest, KeyboardLeavingDuringATransferStopsItAndIsNoticed)
{
    std::array<uint8_t, 512> block{};
    ASSERT_EQ(kb.QlSimLeaveBusAfter(3), 1);
    // Depending on when the library notices, the next piece finds no
    // keyboard (0) or its write fails (-1); it never counts as written.
    const int result = session->Commands().WriteKeymapBlock(block.data(), 0);
    EXPECT_TRUE(result == 0 || result == -1) << result;
    EXPECT_LE(kb.QlSimLogCount(), 4);
    Settle();
    EXPECT_EQ(session->DeviceCount(), 0u);
    EXPECT_EQ(window.Count("keyboard gone"), 1u);

    // Back on the bus: a new arrival, and the window is not opened again.
    kb.QlSimLogClear();
    ASSERT_EQ(kb.QlSimPlug(), 1);
    Settle();
    EXPECT_EQ(session->DeviceCount(), 1u);
    EXPECT_EQ(window.Count("profile sync"), 2u);
    EXPECT_EQ(window.Count("open window"), 1u);
}

TEST_F(SimLinkTest, BankSwitchReachesTheKeyboard)
{
    ASSERT_EQ(kb.QlSimSendConsumerCode(0x02FF), 1);
    Settle();
    uint8_t status[2] = {};
    ASSERT_EQ(kb.QlSimGetStatusReport(status, 2), 2);
    EXPECT_EQ(status[0], 0x05);
    EXPECT_EQ(status[1], 0x03);
    EXPECT_TRUE(session->BankB());
}

TEST_F(SimLinkTest, ExchangesFromTwoThreadsNeverMixTheirReplies)
{
    auto& c = session->Commands();
    std::array<uint8_t, 512> pattern{};
    std::iota(pattern.begin(), pattern.end(), 3);
    ASSERT_EQ(c.WriteKeymapBlock(pattern.data(), 1), 1);
    uint8_t expectedInfo[44];
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_INFO, 0, expectedInfo, 44), 1);

    std::atomic<int> failures{0};
    std::thread blocks([&] {
        for (int i = 0; i < 30; ++i) {
            std::array<uint8_t, 512> read{};
            if (c.ReadKeymapBlock(read.data(), 1) != 1 || read != pattern)
                ++failures;
        }
    });
    for (int i = 0; i < 200; ++i) {
        uint8_t info[44] = {};
        if (c.ReadInfo(info) != 1 || !std::equal(info, info + 44, expectedInfo))
            ++failures;
    }
    blocks.join();
    EXPECT_EQ(failures.load(), 0);
}

TEST_F(SimLinkTest, NothingIsSentWithoutAKeyboard)
{
    ASSERT_EQ(kb.QlSimUnplug(), 1);
    Settle();
    kb.QlSimLogClear();
    uint8_t info[44];
    EXPECT_EQ(session->Commands().ReadInfo(info), 0);
    EXPECT_EQ(kb.QlSimLogCount(), 0);
    EXPECT_EQ(session->ActiveProfileCache(), -1);
}

}  // namespace
}  // namespace trevolin::device
