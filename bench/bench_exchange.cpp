// Exchanges per second through the whole stack (command functions, report
// exchange, transport library, the keyboard's answer on the library's
// thread) against the simulated keyboard answering at once.
#include "core/device/DeviceSession.h"
#include "core/device/HeadlessMainWindow.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <unistd.h>
#include <filesystem>
#include <memory>

namespace {

using namespace trevolin;

using QuietWindow = device::HeadlessMainWindow;

struct Link {
    device::HidLibrary library;
    QuietWindow window;
    platform::ThreadTaskRunner workers;
    std::unique_ptr<device::DeviceSession> session;

    Link()
    {
        const auto state =
            std::filesystem::temp_directory_path() / ("trevolin-bench-" + std::to_string(getpid()) + ".sim");
        setenv("TREVOLIN_SIM_STATE", state.c_str(), 1);
        setenv("TREVOLIN_SIM_LATENCY_MS", "0", 1);
        auto loaded = device::LoadHidLibrary(device::SimulatedHidLibrary);
        if (loaded.error != device::LoadError::None) {
            std::fprintf(stderr, "cannot load the simulated keyboard: %s\n", loaded.detail.c_str());
            std::exit(1);
        }
        library = loaded.library;
        session = std::make_unique<device::DeviceSession>(library, window, workers, platform::SteadyClock::Instance());
        if (!session->Start(true)) {
            std::fprintf(stderr, "the simulated keyboard's session did not start\n");
            std::exit(1);
        }
        workers.JoinAll();
    }
};

Link& TheLink()
{
    static Link link;
    return link;
}

void BM_Exchange(benchmark::State& state)
{
    auto& commands = TheLink().session->Commands();
    for (auto _ : state) {
        if (commands.BeginConfig() != 1)
            state.SkipWithError("exchange failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Exchange)->UseRealTime();

void BM_ReadInfo(benchmark::State& state)
{
    auto& commands = TheLink().session->Commands();
    uint8_t info[44];
    for (auto _ : state) {
        if (commands.ReadInfo(info) != 1)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(info);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadInfo)->UseRealTime();

void BM_ReadKeymapBlock512(benchmark::State& state)
{
    auto& commands = TheLink().session->Commands();
    uint8_t block[512];
    for (auto _ : state) {
        if (commands.ReadKeymapBlock(block, 1) != 1)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(block);
    }
    state.SetBytesProcessed(state.iterations() * 512);
    state.SetItemsProcessed(state.iterations() * 10);  // ten exchanges a block
}
BENCHMARK(BM_ReadKeymapBlock512)->UseRealTime();

// The program's own share: a library that answers inside the write call, on
// the caller's thread, so no thread hand-off or keyboard is measured.
namespace loopback {

QlCallback g_vendorCallback = nullptr;

int32_t Init(int32_t)
{
    return 1;
}
int32_t End()
{
    return 1;
}
int32_t Debug(int32_t)
{
    return 1;
}
int32_t Count(const QlUnitId*, QlCallback, uint32_t, uint32_t, uint32_t*)
{
    return 1;
}
int32_t WriteOne(const QlUnitId*, QlCallback, uint32_t, const uint8_t* data, uint32_t length, uint32_t, uint32_t*)
{
    uint8_t reply[64] = {};
    std::memcpy(reply, data, std::min<uint32_t>(length, 64));
    QlRequestInfo info{QL_TAG_CTRL, 64, reply, 0};
    QlNotification record{1, &info};
    g_vendorCallback(&record);
    return 1;
}
int32_t Write(const QlUnitId*, QlCallback, uint32_t, const uint8_t*, uint32_t, uint32_t, uint32_t*)
{
    return 1;
}
int32_t AsyncRead(const QlUnitId* unit, QlCallback cb, uint32_t, uint32_t, uint32_t* handle)
{
    if (unit->usagePage == 0xFF1C)
        g_vendorCallback = cb;
    *handle = 1;
    return 1;
}
int32_t StatusWrite(const QlUnitId*, QlCallback, uint32_t, const uint8_t*, uint32_t, uint32_t, uint32_t*)
{
    return 1;
}
int32_t StatusGet(const QlUnitId*, QlCallback, uint32_t, uint8_t*, uint32_t, uint32_t, uint32_t*)
{
    return 1;
}
int32_t Delete(uint32_t)
{
    return 1;
}

}  // namespace loopback

void BM_ExchangeProgramOnly(benchmark::State& state)
{
    device::HidLibrary l;
    l.Init = loopback::Init;
    l.End = loopback::End;
    l.Debug = loopback::Debug;
    l.RequestGetDeviceCount = loopback::Count;
    l.RequestWriteOne = loopback::WriteOne;
    l.RequestWrite = loopback::Write;
    l.RequestAsyncRead = loopback::AsyncRead;
    l.RequestStatusWrite = loopback::StatusWrite;
    l.RequestStatusGet = loopback::StatusGet;
    l.RequestStatusSetFeature = loopback::StatusWrite;
    l.DeleteRequestFromUnitId = loopback::Delete;
    l.DeleteRequestFromHandle = loopback::Delete;
    QuietWindow window;
    platform::InlineTaskRunner workers;
    device::DeviceSession session(l, window, workers, platform::SteadyClock::Instance());
    if (!session.Start(true)) {
        state.SkipWithError("the session did not start");
        return;
    }
    uint8_t info[44];
    for (auto _ : state) {
        if (session.Commands().ReadInfo(info) != 1)
            state.SkipWithError("exchange failed");
        benchmark::DoNotOptimize(info);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExchangeProgramOnly);

}  // namespace

BENCHMARK_MAIN();
