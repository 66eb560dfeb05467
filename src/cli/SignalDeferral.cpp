#include "cli/SignalDeferral.h"

#include <atomic>
#include <cstring>
#include <unistd.h>

namespace trevolin::cli {

namespace {

std::atomic<bool> installed{false};
std::atomic<bool> writing{false};
std::atomic<int> pending{0};

void Say(const char* text)
{
    (void)!::write(STDERR_FILENO, text, std::strlen(text));
}

void EndBy(int signal)
{
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Only async-signal-safe calls in here: atomics, write, signal, raise.
void OnSignal(int signal)
{
    if (!writing.load()) {
        EndBy(signal);
        return;
    }
    int none = 0;
    if (pending.compare_exchange_strong(none, signal)) {
        Say("\ntrevolinctl: finishing the keyboard write first, so that nothing is left half-written. "
            "Press Ctrl-C again to stop at once.\n");
        return;
    }
    Say("\ntrevolinctl: stopped during a keyboard write. The keyboard may hold a half-written key map, "
        "macro area or colour page: run the command again, or restore a backup.\n");
    EndBy(signal);
}

}  // namespace

SignalDeferral::SignalDeferral()
{
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // Restart interrupted system calls: a held-back signal must not make a
    // read or a wait of the running command fail.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
    writing = false;
    pending = 0;
    installed = true;
}

SignalDeferral::~SignalDeferral()
{
    installed = false;
    writing = false;
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
}

void SignalDeferral::EnterWritePhase()
{
    if (installed.load())
        writing = true;
}

int SignalDeferral::Pending()
{
    return pending.load();
}

void SignalDeferral::RaisePending()
{
    const int signal = pending.exchange(0);
    writing = false;
    if (signal != 0)
        EndBy(signal);
}

}  // namespace trevolin::cli
