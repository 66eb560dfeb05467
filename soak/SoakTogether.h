#pragma once

// Two programs at once: trevolinctl processes set keys of profile 1 while the
// window's core applies its own key edits to the same profile, all sharing
// the user's keyboard lock and the simulated keyboard's state file. Every key
// has one owner, so at the end each key must hold what its owner's last
// change that said done asked for: a change another program's stale copy
// wrote over would show there.
#include "SoakRun.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trevolin::soak {

struct TogetherTally {
    uint64_t commands = 0;         // trevolinctl processes run
    uint64_t commandsDone = 0;     // of them said done
    uint64_t commandsRefused = 0;  // said not written (the keyboard was busy, or another reason)
    uint64_t applies = 0;          // the window's Applies
    uint64_t appliesDone = 0;
    uint64_t appliesStale = 0;  // refused because another program had changed the keyboard
    uint64_t violations = 0;
};

// Runs `processes` trevolinctl processes (the program at `trevolinctl`) one
// command after another, and the window's Applies, for `seconds`, from the
// keyboard's factory state; files in `folder`.
std::vector<Violation> RunTogether(const std::string& folder, const std::string& trevolinctl, uint64_t seed,
                                   double seconds, size_t processes, TogetherTally& tally);

}  // namespace trevolin::soak
