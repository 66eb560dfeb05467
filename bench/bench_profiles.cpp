// The keyboard's profiles moving over a link with a realistic reply time:
// the load on arrival (three key-map blocks and a macro area at the largest
// capacity, 255 x 128 bytes) and an Apply that sends the full macro area
// back, against the simulated keyboard answering after 1 ms. A link that
// adds nothing of its own takes round trips x latency; the counters give
// both and their ratio.
#include "core/device/HeadlessMainWindow.h"
#include "core/device/DeviceSession.h"
#include "core/macros/MacroPayload.h"
#include "core/profiles/StoreMacroList.h"
#include "core/base/Prompts.h"
#include "core/profiles/KeyboardProfiles.h"
#include "transport/sim/SimKeyboardControl.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace trevolin;

constexpr uint32_t LatencyMs = 1;
constexpr uint32_t MacroUnits = 255;

using QuietWindow = device::HeadlessMainWindow;

class QuietPrompts final : public base::Prompts {
public:
    void ShowMessage(std::string_view key, std::string_view, Style) override
    {
        std::fprintf(stderr, "unexpected message %.*s\n", int(key.size()), key.data());
    }
    bool AskYesNo(std::string_view, std::string_view) override { return false; }
};

class NoTexts final : public base::TextLookup {
public:
    std::string Text(std::string_view) const override { return "Macro "; }
    std::string LightText(std::string_view) const override { return {}; }
    std::string ModeText(std::string_view) const override { return {}; }
};

// Macros whose payload, names included, fills the keyboard's macro area
// exactly.
std::vector<macros::Macro> FullMacroArea(size_t capacity)
{
    constexpr size_t count = 8;
    const size_t fixed = macros::MacroPayloadHeader::Size + count * 2 + count * (4 + 2);  // one-unit names
    size_t events = (capacity - fixed) / 4;
    std::vector<macros::Macro> list(count);
    for (size_t i = 0; i < count; ++i) {
        list[i].id = static_cast<uint16_t>(i + 1);
        list[i].name.push_back(u'm');
        const size_t mine = events / (count - i);
        for (size_t e = 0; e < mine; ++e)
            list[i].events.push_back({20, 0x1E, static_cast<uint16_t>(e % 2)});
        events -= mine;
    }
    return list;
}

struct Rig {
    std::string scratch;
    device::HidLibrary library;
    QuietWindow window;
    platform::ThreadTaskRunner workers;
    std::unique_ptr<device::DeviceSession> session;
    profiles::ProfileStore store;
    NoTexts texts;
    QuietPrompts prompts;
    std::unique_ptr<profiles::KeyboardProfiles> profiles;
    sim::SimKeyboardControl* kb = nullptr;

    Rig()
    {
        // Scratch space of this run alone: the simulated keyboard's state
        // and the user folder.
        std::string pattern = (std::filesystem::temp_directory_path() / "trevolin-bench-profiles-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            Fail("cannot make a scratch folder");
        scratch = pattern;
        setenv("TREVOLIN_SIM_STATE", (scratch + "/keyboard.sim").c_str(), 1);
        setenv("TREVOLIN_SIM_LATENCY_MS", std::to_string(LatencyMs).c_str(), 1);
        setenv("TREVOLIN_SIM_MACRO_UNITS", std::to_string(MacroUnits).c_str(), 1);

        auto loaded = device::LoadHidLibrary(device::SimulatedHidLibrary);
        if (loaded.error != device::LoadError::None)
            Fail("cannot load the simulated keyboard: " + loaded.detail);
        library = loaded.library;
        kb = &sim::SimKeyboardControl::instance();
        if (!kb->ok())
            Fail(kb->error());
        session = std::make_unique<device::DeviceSession>(library, window, workers, platform::SteadyClock::Instance());
        if (!session->Start(true))
            Fail("the link did not start");
        workers.JoinAll();
        kb->QlSimSetLatency(LatencyMs);
        if (session->MacroCapacity() != MacroUnits * 128)
            Fail("the keyboard reports another macro capacity");

        profiles = std::make_unique<profiles::KeyboardProfiles>(
            store, *session, profiles::UserFolder{scratch + "/user", scratch + "/template.userd"}, texts, prompts);
        // The profile file comes with the first load; then the keyboard is
        // given a full macro area.
        profiles->LoadFromKeyboard(false);
        const auto list = FullMacroArea(session->MacroCapacity());
        if (!profiles::CommitMacroList(store, list).committed)
            Fail("cannot build the macros");
        if (macros::MacroPayloadSizes(store.Image().MacroRecords()).fullSize != session->MacroCapacity())
            Fail("the macros do not fill the macro area");
        profiles->SetChangesPending(true);
        if (!profiles->Apply(profiles::WriteScope::AllProfiles))
            Fail("the first Apply failed");
    }

    ~Rig()
    {
        profiles.reset();
        session.reset();
        workers.JoinAll();
        std::error_code ignored;
        std::filesystem::remove_all(scratch, ignored);
    }

    [[noreturn]] void Fail(const std::string& why)
    {
        std::fprintf(stderr, "%s\n", why.c_str());
        if (!scratch.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(scratch, ignored);
        }
        std::exit(1);
    }
};

Rig& TheRig()
{
    static Rig rig;
    return rig;
}

// Runs `step` once per iteration, counting the reports that reached the
// keyboard (each one exchange, so one round trip). `ratio` is the time the
// steps took over round trips x latency.
template <typename Step>
void Measure(benchmark::State& state, Step step, uint32_t latencyMs = LatencyMs)
{
    Rig& rig = TheRig();
    int64_t roundTrips = 0;
    std::chrono::steady_clock::duration spent{};
    for (auto _ : state) {
        state.PauseTiming();
        rig.kb->QlSimLogClear();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (!step(rig))
            state.SkipWithError("the keyboard did not take part");
        spent += std::chrono::steady_clock::now() - start;
        state.PauseTiming();
        roundTrips += rig.kb->QlSimLogCount();
        state.ResumeTiming();
    }
    const double perIteration = double(roundTrips) / double(state.iterations());
    state.counters["round_trips"] = perIteration;
    state.counters["ideal_ms"] = perIteration * latencyMs;
    if (latencyMs > 0 && roundTrips > 0)
        state.counters["ratio"] =
            std::chrono::duration<double, std::milli>(spent).count() / (double(roundTrips) * latencyMs);
}

void BM_LoadOnArrival(benchmark::State& state)
{
    Measure(state, [](Rig& rig) {
        const auto load = rig.profiles->LoadFromKeyboard(false);
        return load.source == profiles::LoadReport::Source::Keyboard && load.read.macroCount == 8;
    });
}

void BM_Apply(benchmark::State& state)
{
    Measure(state, [](Rig& rig) {
        rig.profiles->SetChangesPending(true);
        return rig.profiles->ApplyChanges();
    });
}

void BM_LoadAndApply(benchmark::State& state)
{
    Measure(state, [](Rig& rig) {
        const auto load = rig.profiles->LoadFromKeyboard(false);
        rig.profiles->SetChangesPending(true);
        return load.source == profiles::LoadReport::Source::Keyboard && rig.profiles->ApplyChanges();
    });
}

// The link alone on the same keyboard: one key-map block read, ten round
// trips and nothing of the profiles around them, for comparison.
bool ReadOneBlock(Rig& rig)
{
    uint8_t block[512];
    return rig.session->Commands().ReadKeymapBlock(block, 0) == device::ResultOk;
}

void BM_LinkOnlyBlockRead(benchmark::State& state)
{
    Measure(state, ReadOneBlock);
}

// The same with the keyboard answering at once: what each round trip costs
// besides the keyboard's own time (thread hand-offs of the link).
void BM_LinkOnlyBlockReadNoLatency(benchmark::State& state)
{
    TheRig().kb->QlSimSetLatency(0);
    Measure(state, ReadOneBlock, 0);
    TheRig().kb->QlSimSetLatency(LatencyMs);
}

BENCHMARK(BM_LinkOnlyBlockRead)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_LinkOnlyBlockReadNoLatency)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_LoadOnArrival)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Apply)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadAndApply)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
