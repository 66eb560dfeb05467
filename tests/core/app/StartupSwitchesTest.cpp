#include "core/app/StartupSwitches.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trevolin::app {
namespace {

using Switch = StartupSwitches::Switch;

struct SwitchCase {
    std::vector<std::string> arguments;
    std::vector<Switch> order;
    bool simulate = false;
    std::string hidLibrary;
    bool error = false;
};

TEST(StartupSwitches, AreReadInOrderInAnyCaseAndUnknownOnesAreIgnored)
{
    const std::vector<SwitchCase> cases = {
        {{}, {}, false, "", false},
        {{"/Kill"}, {Switch::Kill}, false, "", false},
        {{"/KILL", "/start"}, {Switch::Kill, Switch::Start}, false, "", false},
        {{"--start", "--Kill"}, {Switch::Start, Switch::Kill}, false, "", false},
        {{"/sTaRt", "/Start"}, {Switch::Start, Switch::Start}, false, "", false},
        {{"Kill", "-kill", "/Kil", "/Killer", "---kill", "//kill", "/", "--", ""}, {}, false, "", false},
        {{"-platform", "offscreen", "/Start", "--unknown=1"}, {Switch::Start}, false, "", false},
        {{"--simulate", "/Kill"}, {Switch::Kill}, true, "", false},
        {{"--hid-library", "/opt/l.so", "--start"}, {Switch::Start}, false, "/opt/l.so", false},
        {{"--hid-library=/opt/l.so"}, {}, false, "/opt/l.so", false},
        // The value is taken as it stands, even when it looks like a switch.
        {{"--hid-library", "/Start"}, {}, false, "/Start", false},
        {{"--hid-library"}, {}, false, "", true},
        {{"--hid-library="}, {}, false, "", true},
        {{"--simulate", "--hid-library", "/opt/l.so"}, {}, true, "/opt/l.so", true},
        // trevolinctl's options are case-sensitive, and so are they here.
        {{"--SIMULATE", "--Hid-Library", "x"}, {}, false, "", false},
        {{"--hid-libraryx=/opt/l.so"}, {}, false, "", false},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& a : c.arguments)
            shown += "[" + a + "]";
        const auto switches = StartupSwitches::Parse(c.arguments);
        EXPECT_EQ(switches.order, c.order) << shown;
        EXPECT_EQ(switches.simulate, c.simulate) << shown;
        EXPECT_EQ(switches.hidLibrary, c.hidLibrary) << shown;
        EXPECT_EQ(!switches.error.empty(), c.error) << shown << " " << switches.error;
    }
}

TEST(StartupSwitches, KillAndStartCountWhereverTheyStand)
{
    // "/Kill" then "/Start": with an instance running this process asks it to
    // exit and ends; with none running it starts hidden.
    const char* argv[] = {"/usr/bin/trevolin", "/Kill", "/Start"};
    const auto switches = StartupSwitches::Parse(3, argv);
    EXPECT_TRUE(switches.Kills());
    EXPECT_TRUE(switches.StartsHidden());

    const auto plain = StartupSwitches::Parse({"--simulate"});
    EXPECT_FALSE(plain.Kills());
    EXPECT_FALSE(plain.StartsHidden());
    EXPECT_TRUE(StartupSwitches::Parse({"--start", "/kill"}).Kills());
}

}  // namespace
}  // namespace trevolin::app
