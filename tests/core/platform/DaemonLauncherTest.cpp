#include "core/platform/DaemonLauncher.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace trevolin::platform {
namespace {

using Result = DaemonLauncher::Result;

TEST(DaemonLauncher, StartsTheDaemonDetachedAndLeavesNoChildBehind)
{
    test::TempDir dir;
    // The daemon reports its process, parent and session through a FIFO,
    // so the test waits for exactly that and nothing else.
    const std::string report = dir.File("report");
    ASSERT_EQ(::mkfifo(report.c_str(), 0600), 0);
    const std::string daemon =
        dir.Write("Varnok", "#!/bin/sh\n"
                            "echo \"$$ $PPID $(cut -d' ' -f6 /proc/$$/stat)\" > \"${0%/*}/report\"\n");
    ASSERT_EQ(::chmod(daemon.c_str(), 0700), 0);
    const int reader = ::open(report.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);

    EXPECT_EQ(DaemonLauncher::Launch(daemon, false), Result::Started);

    pollfd entry{reader, POLLIN, 0};
    ASSERT_EQ(::poll(&entry, 1, 10000), 1) << "the daemon did not run";
    char buffer[128] = {};
    const ssize_t n = ::read(reader, buffer, sizeof buffer - 1);
    ::close(reader);
    ASSERT_GT(n, 0);
    long pid = 0;
    long parent = 0;
    long session = 0;
    ASSERT_EQ(std::sscanf(buffer, "%ld %ld %ld", &pid, &parent, &session), 3) << buffer;
    EXPECT_NE(parent, static_cast<long>(::getpid()));
    EXPECT_NE(session, static_cast<long>(::getsid(0)));
    // Neither the shell between us nor the daemon is left as our child.
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(DaemonLauncher, IsNotStartedWhenAbsentUnusableOrUnderTheSimulatedKeyboard)
{
    test::TempDir dir;
    const std::string runnable = dir.Write("Varnok", "#!/bin/sh\nexit 0\n");
    ASSERT_EQ(::chmod(runnable.c_str(), 0700), 0);
    const std::string plain = dir.Write("plain", "#!/bin/sh\nexit 0\n");
    ASSERT_EQ(::chmod(plain.c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(dir.File("folder").c_str(), 0700), 0);

    EXPECT_EQ(DaemonLauncher::Launch(runnable, true), Result::Skipped);
    EXPECT_EQ(DaemonLauncher::Launch(dir.File("absent"), false), Result::Missing);
    EXPECT_EQ(DaemonLauncher::Launch(dir.File("folder"), false), Result::Missing);
    EXPECT_EQ(DaemonLauncher::Launch(plain, false), Result::NotExecutable);
    EXPECT_EQ(DaemonLauncher::Launch("Varnok", false), Result::Failed);
    EXPECT_EQ(DaemonLauncher::Launch("", false), Result::Failed);
}

}  // namespace
}  // namespace trevolin::platform
