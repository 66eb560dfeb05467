#pragma once

#include <string>

namespace trevolin::platform {

// Starts the keyboard maker's background program "Varnok" from the program's
// folder at start-up. It belongs to the session, not to us: it gets its own
// session (no terminal, no Ctrl+C from ours), default signal handling, and
// is never our child, so nothing of ours has to reap it and it never turns
// into a zombie under us.
class DaemonLauncher {
public:
    enum class Result {
        Started,
        Skipped,        // the simulated keyboard is in use: the real one's helper has no business here
        Missing,        // no regular file at the path; the program runs without it
        NotExecutable,  // there, but we may not run it
        Failed,         // the path is not absolute, or it could not be spawned
    };

    // `path` is the daemon's absolute path (Locations::Daemon()).
    static Result Launch(const std::string& path, bool simulate);
};

}  // namespace trevolin::platform
