#pragma once

// The window's side of the soak: key edits applied as the window's Apply
// does, on the keyboard thread of the program's core, under random faults.
#include "SoakRun.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trevolin::soak {

// `count` edits and Applies from the keyboard's factory state, in `folder`.
std::vector<Violation> RunWindowSteps(const std::string& folder, uint64_t seed, size_t count, Tally& tally);

}  // namespace trevolin::soak
