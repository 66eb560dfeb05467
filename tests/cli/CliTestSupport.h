#pragma once

#include "cli/CliApp.h"
#include "support/TempDir.h"
#include "transport/sim/SimKeyboardControl.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace trevolin::test {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// trevolinctl run in-process against the simulated keyboard, which starts
// every test in its factory state, with a user folder of the test's own.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kb.ok()) << kb.error();
        ASSERT_GT(kb.Init(0), 0);
        ASSERT_EQ(kb.QlSimReset(), 1);
        ASSERT_TRUE(kb.waitIdle());
    }

    // Runs `trevolinctl --simulate --user-folder <temp> ARGS...`.
    CliRun Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--simulate", "--user-folder", userFolder.Path().string()});
        return RunRaw(args);
    }

    static CliRun RunRaw(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        CliRun run;
        run.exitCode = cli::RunCli(args, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    sim::SimKeyboardControl& kb = sim::SimKeyboardControl::instance();
    TempDir userFolder;
};

}  // namespace trevolin::test
