#pragma once

#include <string>

namespace trevolin::app {

// Whether a file the user picked can serve as the firmware updater: it is
// checked before the keyboard is put into its update (boot) mode, since a
// keyboard in that mode types nothing until the updater has run or it is
// plugged in again.
enum class UpdaterCheck {
    Ready,
    Missing,        // nothing picked, or no such file
    NotAProgram,    // not a regular file, or not executable
};
UpdaterCheck CheckUpdater(const std::string& path);

}  // namespace trevolin::app
