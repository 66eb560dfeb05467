#pragma once

namespace trevolin::gui {

// The whole program: the start-up switches, the single instance (a second
// start hands OPEN or KILL to the first and ends), the named events, the
// daemon, the window, and the exit path on every way out (the window's,
// SIGTERM, SIGINT, the end of the desktop session).
int RunProgram(int argc, char** argv);

}  // namespace trevolin::gui
