#include "core/platform/KeyboardLock.h"
#include "support/ManualClock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace trevolin::platform {
namespace {

using Result = platform::KeyboardLock::Result;

TEST(KeyboardLock, SecondHolderWaitsABoundedTimeAndLearnsWhoHoldsIt)
{
    test::TempDir dir;
    test::ManualClock clock;
    const std::string path = dir.File("trevolin/keyboard.lock");

    auto first = platform::KeyboardLock::Acquire(path, "trevolin", 1000, clock);
    ASSERT_EQ(first.result, Result::Acquired) << first.detail;
    struct stat st {};
    ASSERT_EQ(::stat(dir.File("trevolin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // flock locks belong to the open file, so a second open in this
    // process contends exactly like another process would.
    const uint64_t start = clock.NowMs();
    auto second = platform::KeyboardLock::Acquire(path, "trevolinctl", 1000, clock);
    EXPECT_EQ(second.result, Result::Busy);
    EXPECT_EQ(second.holder, "trevolin (process " + std::to_string(::getpid()) + ")");
    EXPECT_GE(clock.NowMs() - start, 1000u);
    EXPECT_LT(clock.NowMs() - start, 1100u);

    first.lock.reset();
    auto third = platform::KeyboardLock::Acquire(path, "trevolinctl", 0, clock);
    EXPECT_EQ(third.result, Result::Acquired);
}

TEST(KeyboardLock, FolderThatCannotHoldTheLockIsReported)
{
    test::TempDir dir;
    test::ManualClock clock;
    dir.Write("file", "x");
    auto outcome = platform::KeyboardLock::Acquire(dir.File("file/keyboard.lock"), "trevolinctl", 0, clock);
    EXPECT_EQ(outcome.result, Result::Unavailable);
    EXPECT_NE(outcome.detail.find("not a folder"), std::string::npos) << outcome.detail;
}

TEST(KeyboardLock, TheNextHolderSeesHowOftenTheKeyboardWasChanged)
{
    test::TempDir dir;
    test::ManualClock clock;
    const std::string path = dir.File("trevolin/keyboard.lock");
    const auto take = [&] {
        auto outcome = platform::KeyboardLock::Acquire(path, "trevolinctl", 0, clock);
        EXPECT_EQ(outcome.result, Result::Acquired) << outcome.detail;
        return std::move(outcome.lock);
    };

    auto lock = take();
    EXPECT_EQ(lock->ChangeCount(), 0u);
    lock->CountChange();
    lock->CountChange();
    lock.reset();
    lock = take();
    EXPECT_EQ(lock->ChangeCount(), 2u);
    lock.reset();

    // A count file someone damaged reads as none; counting starts again.
    dir.Write("trevolin/keyboard.changes", "x7");
    lock = take();
    EXPECT_EQ(lock->ChangeCount(), 0u);
    lock->CountChange();
    EXPECT_EQ(lock->ChangeCount(), 1u);
}

TEST(KeyboardLock, LivesInTheUsersRuntimeFolder)
{
    EXPECT_EQ(
        platform::KeyboardLock::DefaultPath(base::Environment::FromValues({{"XDG_RUNTIME_DIR", "/run/user/1000"}})),
        "/run/user/1000/trevolin/keyboard.lock");
    EXPECT_EQ(platform::KeyboardLock::DefaultPath(base::Environment::FromValues({{"XDG_RUNTIME_DIR", "relative"}})),
              "/tmp/trevolin-" + std::to_string(::getuid()) + "/keyboard.lock");
}

}  // namespace
}  // namespace trevolin::platform
