// trevolin_soak [--minutes M | --steps N] [--seed S] [--trace]
//
// Runs batches of random trevolinctl commands against the simulated keyboard
// under random faults (see SoakRun.h) and prints what happened as a table.
// A violation prints its seed and the fewest steps that still show it; the
// exit code is then 1.
#include "SoakRun.h"
#include "SoakTogether.h"
#include "SoakWindow.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

constexpr size_t BatchSteps = 150;
// Window Applies after each batch of commands: one for every five commands.
constexpr size_t WindowShare = 5;
// trevolinctl processes beside the window when two programs run at once.
constexpr size_t Processes = 3;

bool ParseNumber(const char* text, uint64_t& value)
{
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end && *end == '\0' && end != text;
}

}  // namespace

int main(int argc, char** argv)
{
    // Every line as it is written: a violation shows at once, even while
    // its steps are being shrunk.
    std::cout << std::unitbuf;
    uint64_t minutes = 0;
    uint64_t steps = BatchSteps;
    uint64_t seed = 1;
    bool trace = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--trace") {
            trace = true;
            continue;
        }
        uint64_t* target = word == "--minutes" ? &minutes
                           : word == "--steps" ? &steps
                           : word == "--seed"  ? &seed
                                               : nullptr;
        if (!target || i + 1 >= argc || !ParseNumber(argv[i + 1], *target)) {
            std::cerr << "usage: trevolin_soak [--minutes M | --steps N] [--seed S] [--trace]\n";
            return 2;
        }
        ++i;
    }

    // The soak's own simulated keyboard, settings and lock, never the user's.
    char pattern[] = "/tmp/trevolin-soak-XXXXXX";
    const char* folder = mkdtemp(pattern);
    if (!folder) {
        std::perror("trevolin_soak: no temporary folder");
        return 2;
    }
    const std::string base = folder;
    for (const char* sub : {"/config", "/data", "/run"})
        std::filesystem::create_directories(base + sub);
    std::filesystem::permissions(base + "/run", std::filesystem::perms::owner_all);
    setenv("HOME", folder, 1);
    setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (base + "/data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (base + "/run").c_str(), 1);
    setenv("TREVOLIN_SIM_STATE", (base + "/sim-state").c_str(), 1);
    unsetenv("TREVOLIN_SIM_FAULTS");

    trevolin::soak::SoakRun run(base, trace ? &std::cout : nullptr);
    std::string problem;
    if (!run.Ready(problem)) {
        std::cerr << "trevolin_soak: " << problem << "\n";
        return 2;
    }
    trevolin::soak::Tally tally;
    trevolin::soak::Tally windowTally;
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    uint64_t batches = 0;
    bool violated = false;
    for (uint64_t batchSeed = seed;; ++batchSeed) {
        const size_t count = minutes ? BatchSteps : static_cast<size_t>(steps);
        const auto batch = trevolin::soak::MakeSteps(batchSeed, count);
        const auto found = run.Run(batch, tally, false);
        ++batches;
        for (const auto& v : found)
            std::cout << "VIOLATION (seed " << batchSeed << ", step " << v.step + 1 << "): " << v.what << "\n";
        const auto windowFound =
            trevolin::soak::RunWindowSteps(base + "/window", batchSeed, count / WindowShare, windowTally);
        for (const auto& v : windowFound)
            std::cout << "VIOLATION in the window's Apply (seed " << batchSeed << ", step " << v.step + 1
                      << "): " << v.what << "\n";
        violated = violated || !windowFound.empty();
        if (!found.empty()) {
            violated = true;
            std::cout << "The fewest steps that show it (seed " << batchSeed
                      << "), from a keyboard in its factory state:\n";
            for (const auto& step : run.Shrink(batch))
                std::cout << "  " << trevolin::soak::Describe(step) << "\n";
        }
        if (!minutes || elapsed() >= static_cast<double>(minutes) * 60.0)
            break;
    }
    // Then two programs at once: a tenth of the time, three minutes at
    // most; a quarter of a minute in a short soak.
    const double togetherSeconds = minutes ? std::min(180.0, static_cast<double>(minutes) * 6.0) : 15.0;
    const std::string trevolinctl =
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "trevolinctl").string();
    trevolin::soak::TogetherTally together;
    for (const auto& v :
         trevolin::soak::RunTogether(base + "/together", trevolinctl, seed, togetherSeconds, Processes, together))
        std::cout << "VIOLATION with two programs at once (seed " << seed << ", change " << v.step << "): " << v.what
                  << "\n";
    violated = violated || together.violations > 0;
    std::filesystem::remove_all(base);

    std::cout << "| seeds | " << seed << " to " << seed + batches - 1 << " |\n"
              << "| steps (trevolinctl commands) | " << tally.steps << " |\n"
              << "| of them under an injected fault | " << tally.faulted << " |\n"
              << "| said done, and the keyboard held exactly what was asked | " << tally.succeeded << " |\n"
              << "| failed and said so, keyboard unchanged or complete | " << tally.failedCleanly << " |\n"
              << "| failed after part of the change was written, and said so | " << tally.failedPartly << " |\n"
              << "| refused for the keyboard's state (as without faults) | " << tally.refusedAnyway << " |\n"
              << "| reported wrongly (violations) | " << tally.violations << " |\n"
              << "| window Applies (key edits) | " << windowTally.steps << " |\n"
              << "| of them under an injected fault | " << windowTally.faulted << " |\n"
              << "| said done, and the keyboard held exactly what was asked | " << windowTally.succeeded << " |\n"
              << "| failed, told, changes kept pending | " << windowTally.failedCleanly + windowTally.failedPartly
              << " |\n"
              << "| reported wrongly (violations) | " << windowTally.violations << " |\n"
              << "| trevolinctl processes at once, beside the window | " << Processes << " |\n"
              << "| their commands | " << together.commands << " |\n"
              << "| said done | " << together.commandsDone << " |\n"
              << "| said not written (keyboard busy, or another reason) | " << together.commandsRefused << " |\n"
              << "| window Applies meanwhile | " << together.applies << " |\n"
              << "| said done | " << together.appliesDone << " |\n"
              << "| refused: another program had changed the keyboard (read again, tried again) | "
              << together.appliesStale << " |\n"
              << "| changes written over (violations) | " << together.violations << " |\n"
              << "| minutes | " << elapsed() / 60.0 << " |\n";
    return violated ? 1 : 0;
}
