#pragma once

// One soak: random trevolinctl commands, each under a random fault script of
// the simulated keyboard, checked against the keyboard's memory. The
// sequence depends only on the seed, so a violation is replayed (and its
// steps shrunk) from the seed alone.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace trevolin::soak {

struct Step {
    std::vector<std::string> command;  // trevolinctl's arguments after the common ones
    std::string faults;                // the simulated keyboard's fault script, "" for none
};

struct Tally {
    uint64_t steps = 0;
    uint64_t faulted = 0;        // steps run under a fault script
    uint64_t succeeded = 0;      // commands that said they were done
    uint64_t failedCleanly = 0;  // failures that left the keyboard as before or as asked
    uint64_t failedPartly = 0;   // failures after part of the change was written, and said so
    uint64_t refusedAnyway = 0;  // commands the keyboard state made invalid (no faults needed)
    uint64_t violations = 0;
};

// Counts one step: done; refused as it would be without faults; or failed,
// leaving the keyboard as before or as asked, or with part of the change.
inline void CountOutcome(Tally& tally, bool done, bool refusedAnyway, bool unchangedOrComplete)
{
    if (done)
        ++tally.succeeded;
    else if (refusedAnyway)
        ++tally.refusedAnyway;
    else if (unchangedOrComplete)
        ++tally.failedCleanly;
    else
        ++tally.failedPartly;
}

struct Violation {
    size_t step = 0;  // index into the steps
    std::string what;
};

// The steps of `seed`, as many as asked.
std::vector<Step> MakeSteps(uint64_t seed, size_t count);

// Runs `steps` from the keyboard's factory state and a new user folder,
// stopping at the first violation when `stopAtFirst`.
class SoakRun {
public:
    // `trace`, when given, gets a line for every step run: what ran, how
    // long it took and what it said.
    explicit SoakRun(std::string folder, std::ostream* trace = nullptr);
    // False with a reason when the simulated keyboard cannot be loaded.
    bool Ready(std::string& problem);
    std::vector<Violation> Run(const std::vector<Step>& steps, Tally& tally, bool stopAtFirst);
    // The shortest sublist of `steps` (ending with the violating step) that
    // still ends in a violation.
    std::vector<Step> Shrink(std::vector<Step> steps);

private:
    std::string folder_;
    std::ostream* trace_ = nullptr;
};

std::string Describe(const Step& step);

}  // namespace trevolin::soak
