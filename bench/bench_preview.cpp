// One frame of the on-screen lighting preview for every effect. The window
// runs 20 frames a second on the user-interface thread; a frame should cost
// well under 20 microseconds so that the animation never shows in the
// window's responsiveness.
#include "core/lighting/preview/PreviewEngine.h"
#include "core/lighting/preview/SystemRandomSource.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

using namespace trevolin::lighting::preview;

void PreviewFrame(benchmark::State& state)
{
    const PreviewSettings settings{
        static_cast<uint8_t>(state.range(0)), 255, static_cast<uint8_t>(state.range(1) ? 255 : 0), {200, 100, 50}};
    SystemRandomSource random;
    PreviewEngine engine(random);
    // Well into the animation, with the wave effects' fronts on their way.
    for (int f = 0; f < 500; ++f)
        benchmark::DoNotOptimize(engine.Frame(settings, true));
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.Frame(settings, true));
    state.SetLabel(state.range(1) ? "wheel" : "one colour");
}

BENCHMARK(PreviewFrame)
    ->ArgNames({"effect", "multicolour"})
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20}, {1, 0}});

}  // namespace

BENCHMARK_MAIN();
