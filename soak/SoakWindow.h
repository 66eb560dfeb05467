#pragma once

// The window's side of the soak: key edits applied as the window's Apply
// does, on the keyboard thread of the program's core, under random faults.
#include "SoakRun.h"

#include "core/app/KeyboardApp.h"
#include "support/MapTextLookup.h"
#include "support/RecordingMainWindow.h"
#include "support/RecordingPrompts.h"

#include <memory>

#include <cstdint>
#include <string>
#include <vector>

namespace trevolin::soak {

// What the program's core needs of a window, kept for as long as it runs.
struct WindowSide {
    test::MapTextLookup texts{{"PROFILE_1", "Profile 1"},
                              {"PROFILE_2", "Profile 2"},
                              {"PROFILE_3", "Profile 3"},
                              {"DEFAULT_PROFILE_NAME", "Default"}};
    test::RecordingPrompts prompts;
    test::RecordingMainWindow window;
    std::unique_ptr<app::KeyboardApp> app;
};

// Opens the core on the simulated keyboard with its files in `folder` and,
// when given, the user's keyboard lock taken for every sequence, and waits
// until the keyboard was read. Empty on success, else why not.
std::string OpenWindowSide(WindowSide& side, const std::string& folder, const std::string& keyboardLockPath = {});

// `count` edits and Applies from the keyboard's factory state, in `folder`.
std::vector<Violation> RunWindowSteps(const std::string& folder, uint64_t seed, size_t count, Tally& tally);

}  // namespace trevolin::soak
