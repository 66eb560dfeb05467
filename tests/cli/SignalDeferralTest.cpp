// Ctrl-C while a command writes the keyboard. Each case runs in a child
// process (a death test), since the signals really end the process.
#include "cli/SignalDeferral.h"
#include "CliTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

namespace trevolin::cli {
namespace {

class SignalDeferralTest : public test::CliTest {
protected:
    void SetUp() override
    {
        // The simulated keyboard runs threads: a forked child must start
        // afresh rather than inherit them mid-step.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        CliTest::SetUp();
    }
};

TEST_F(SignalDeferralTest, BeforeAnythingIsWrittenCtrlCEndsAtOnce)
{
    EXPECT_EXIT(
        {
            SignalDeferral deferral;
            if (Run({"keys"}).exitCode != 0)
                ::_exit(3);
            std::raise(SIGINT);
            ::_exit(4);
        },
        ::testing::KilledBySignal(SIGINT), "");
}

TEST_F(SignalDeferralTest, DuringAWriteTheSignalWaitsForTheCommandToFinish)
{
    EXPECT_EXIT(
        {
            SignalDeferral deferral;
            if (Run({"key", "set", "A", "key:B"}).exitCode != 0)
                ::_exit(3);
            std::raise(SIGTERM);
            if (SignalDeferral::Pending() != SIGTERM)
                ::_exit(4);
            SignalDeferral::RaisePending();
            ::_exit(5);
        },
        ::testing::KilledBySignal(SIGTERM), "finishing the keyboard write first");
}

TEST_F(SignalDeferralTest, SecondCtrlCStopsTheWriteWithAWarning)
{
    EXPECT_EXIT(
        {
            SignalDeferral deferral;
            SignalDeferral::EnterWritePhase();
            std::raise(SIGINT);
            std::raise(SIGINT);
            ::_exit(4);
        },
        ::testing::KilledBySignal(SIGINT), "may hold a half-written");
}

}  // namespace
}  // namespace trevolin::cli
