#include "core/platform/DaemonLauncher.h"

#include <cerrno>
#include <csignal>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace trevolin::platform {

namespace {

// posix_spawn alone would leave the daemon our child: a zombie once it ends,
// unless we reaped it, and reaping it means a SIGCHLD handler or a waiting
// thread that could take the exit status of children that the desktop
// toolkit started. Instead a shell is spawned that starts the daemon in the
// background and ends at once; we wait for that shell only, by its pid, and
// the daemon passes to init (or the session's subreaper), which reaps it.
// The path goes in as $0, never into the command text.
constexpr char Command[] = "\"$0\" </dev/null >/dev/null 2>&1 &";

}  // namespace

DaemonLauncher::Result DaemonLauncher::Launch(const std::string& path, bool simulate)
{
    if (simulate)
        return Result::Skipped;
    if (path.empty() || path.front() != '/')
        return Result::Failed;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return Result::Missing;
    if (::access(path.c_str(), X_OK) != 0)
        return Result::NotExecutable;

    posix_spawnattr_t attributes;
    if (::posix_spawnattr_init(&attributes) != 0)
        return Result::Failed;
    // A thread of ours may block signals, and the caller may ignore some;
    // the daemon starts with neither.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setsigdefault(&attributes, &all);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    char* const argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"), const_cast<char*>(Command),
                          const_cast<char*>(path.c_str()), nullptr};
    pid_t shell = 0;
    const int spawned = ::posix_spawn(&shell, "/bin/sh", nullptr, &attributes, argv, environ);
    ::posix_spawnattr_destroy(&attributes);
    if (spawned != 0)
        return Result::Failed;
    int status = 0;
    // ECHILD: a handler of the caller's reaped it first; it has ended either way.
    while (::waitpid(shell, &status, 0) < 0 && errno == EINTR) {
    }
    return Result::Started;
}

}  // namespace trevolin::platform
