#pragma once

#include "cli/CliApp.h"
#include "support/TempDir.h"
#include "transport/sim/SimKeyboardControl.h"

#include <gtest/gtest.h>

#include <cstdint>
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

    // The keyboard's macro area as it holds it now.
    std::vector<uint8_t> MacroArea()
    {
        std::vector<uint8_t> area(static_cast<size_t>(kb.QlSimAreaSize(QL_SIM_AREA_MACRO)));
        EXPECT_EQ(kb.QlSimReadArea(QL_SIM_AREA_MACRO, 0, area.data(), static_cast<uint32_t>(area.size())), 1);
        return area;
    }

    // The macro capacity the keyboard reports, in 128-byte units.
    void SetMacroCapacityUnits(uint8_t units)
    {
        uint8_t info[44];
        ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_INFO, 0, info, 44), 1);
        info[11] = units;
        ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_INFO, 0, info, 44), 1);
    }

    sim::SimKeyboardControl& kb = sim::SimKeyboardControl::instance();
    TempDir userFolder;
};

}  // namespace trevolin::test
