#pragma once

#include <csignal>

namespace trevolin::cli {

// Ctrl-C (SIGINT) and SIGTERM while trevolinctl writes the keyboard would
// leave it half-written: a macro area that still parses but holds a cut
// macro, one profile restored and the others not. From the moment a command
// starts writing, the first such signal is held back until the command has
// finished; a second one ends the program at once, with a warning of what
// may be half-written. Before anything is written a signal ends the program
// as usual.
//
// One instance, made by main(); the program's in-process tests run without.
class SignalDeferral {
public:
    SignalDeferral();
    ~SignalDeferral();
    SignalDeferral(const SignalDeferral&) = delete;
    SignalDeferral& operator=(const SignalDeferral&) = delete;

    // The command is about to write the keyboard. Safe to call when no
    // instance exists (nothing happens then).
    static void EnterWritePhase();

    // The signal held back, or 0.
    static int Pending();

    // Ends the process by the held-back signal, as if it had not been held.
    static void RaisePending();

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

}  // namespace trevolin::cli
