// trevolinctl's key, macro and exchange-file commands end to end against the
// simulated keyboard: what the keyboard holds afterwards, byte for byte.
#include "cli/CliTestSupport.h"
#include "cli/ExitCode.h"

#include <nlohmann/json.hpp>

#include <array>
#include <filesystem>
#include <fstream>

namespace trevolin::test {
namespace {

using Code = std::array<uint8_t, 3>;

class ProfileCommandsTest : public CliTest {
protected:
    std::array<uint8_t, 512> Block(int profile)
    {
        std::array<uint8_t, 512> b{};
        EXPECT_EQ(kb.QlSimReadArea(QL_SIM_AREA_KEYMAPS, static_cast<uint32_t>(profile * 512), b.data(), 512), 1);
        return b;
    }

    // The position of a key in the keyboard's key map: where the default
    // map holds the key's own code.
    size_t PositionOf(const Code& defaultCode)
    {
        std::array<uint8_t, 512> d{};
        EXPECT_EQ(kb.QlSimReadArea(QL_SIM_AREA_DEFAULT_KEYMAP, 0, d.data(), 512), 1);
        for (size_t p = 0; p < 126; ++p)
            if (d[3 * p] == defaultCode[0] && d[3 * p + 1] == defaultCode[1] && d[3 * p + 2] == defaultCode[2])
                return p;
        ADD_FAILURE() << "key not in the default map";
        return 0;
    }

    Code At(const std::array<uint8_t, 512>& block, const Code& key)
    {
        const size_t p = PositionOf(key);
        return {block[3 * p], block[3 * p + 1], block[3 * p + 2]};
    }

    // Reports of a command number that reached the keyboard since the log
    // was cleared.
    int Sent(uint8_t command)
    {
        int n = 0;
        for (int i = 0; i < kb.QlSimLogCount(); ++i) {
            uint8_t r[64];
            kb.QlSimLogGet(static_cast<uint32_t>(i), r);
            n += r[3] == command;
        }
        return n;
    }

    static constexpr Code KeyA{2, 2, 0x04}, KeyS{2, 2, 0x16}, KeyD{2, 2, 0x07}, KeyQ{2, 2, 0x14}, KeyW{2, 2, 0x1A},
        KeyF5{2, 2, 0x3E}, LeftShift{2, 1, 0x02};
};

TEST_F(ProfileCommandsTest, EveryKindOfAssignmentReachesTheKeyboardAsItsCode)
{
    ASSERT_EQ(Run({"macro", "add", "Hello", "LeftShift:down:0", "H:down:50", "H:up", "LeftShift:up"}).exitCode,
              cli::ExitOk);
    const struct {
        std::vector<std::string> args;
        Code key;
        Code expected;
    } cases[] = {
        {{"key", "set", "A", "key:B"}, KeyA, {2, 2, 0x05}},
        {{"key", "set", "S", "mouse:right"}, KeyS, {1, 1, 2}},
        {{"key", "set", "D", "wheel:down"}, KeyD, {1, 5, 0xFF}},
        {{"key", "set", "Q", "media:mute"}, KeyQ, {3, 0xE2, 0}},
        {{"key", "set", "W", "function:7"}, KeyW, {5, 5, 6}},
        {{"key", "set", "F5", "macro:Hello", "--repeat", "3"}, KeyF5, {5, 1, 0}},
        {{"key", "set", "LeftShift", "key:RightWin"}, LeftShift, {2, 1, 0x80}},
    };
    for (const auto& c : cases) {
        const auto run = Run(c.args);
        ASSERT_EQ(run.exitCode, cli::ExitOk) << c.args[2] << ": " << run.err;
        EXPECT_EQ(At(Block(0), c.key), c.expected) << c.args[2];
    }
    // The other profiles were not touched.
    EXPECT_EQ(At(Block(1), KeyA), KeyA);

    // The macro area: marker, one macro, played three times.
    const auto area = MacroArea();
    EXPECT_EQ(area[0] | (area[1] << 8), 0x55AA);
    EXPECT_EQ(area[4] | (area[5] << 8), 1);
    const auto list = nlohmann::json::parse(Run({"macro", "list", "--json"}).out);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["repeat"], 3);
    EXPECT_EQ(list[0]["events"], 4);

    // The listing reads the same back from the keyboard.
    const auto keys = nlohmann::json::parse(Run({"keys", "--assigned", "--json"}).out);
    std::map<std::string, std::string> actions;
    for (const auto& k : keys["keys"])
        actions[k["key"]] = k["action"];
    EXPECT_EQ(actions["A"], "key:B");
    EXPECT_EQ(actions["D"], "wheel:down");
    EXPECT_EQ(actions["F5"], "macro:Hello");

    // Deleting the macro puts its key back to its own function.
    ASSERT_EQ(Run({"macro", "delete", "Hello"}).exitCode, cli::ExitOk);
    EXPECT_EQ(At(Block(0), KeyF5), KeyF5);
    EXPECT_EQ(MacroArea()[4], 0);
}

TEST_F(ProfileCommandsTest, AnotherProfilesChangeStillReachesTheKeyboard)
{
    ASSERT_EQ(Run({"key", "set", "A", "key:C", "--profile", "3"}).exitCode, cli::ExitOk);
    EXPECT_EQ(At(Block(2), KeyA), (Code{2, 2, 0x06}));
    EXPECT_EQ(At(Block(0), KeyA), KeyA);
    ASSERT_EQ(Run({"key", "reset", "--profile", "3"}).exitCode, cli::ExitOk);
    EXPECT_EQ(At(Block(2), KeyA), KeyA);
}

TEST_F(ProfileCommandsTest, BackupAndRestoreCarryAllThreeProfiles)
{
    for (int p = 0; p < 3; ++p)
        ASSERT_EQ(
            Run({"key", "set", "A", "function:" + std::to_string(p + 1), "--profile", std::to_string(p + 1)}).exitCode,
            cli::ExitOk);
    const std::string file = userFolder.File("all.tvl");
    ASSERT_EQ(Run({"backup", file}).exitCode, cli::ExitOk);
    for (int p = 0; p < 3; ++p)
        ASSERT_EQ(Run({"key", "reset", "--profile", std::to_string(p + 1)}).exitCode, cli::ExitOk);
    EXPECT_EQ(At(Block(1), KeyA), KeyA);

    kb.QlSimLogClear();
    const auto restore = Run({"restore", file});
    ASSERT_EQ(restore.exitCode, cli::ExitOk) << restore.err;
    EXPECT_EQ(Sent(8), 30);  // three blocks of ten pieces
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(At(Block(p), KeyA), (Code{5, 5, static_cast<uint8_t>(p)})) << p;

    // The keyboard's own tables as a file hold the same.
    const std::string exported = userFolder.File("keyboard.tvl");
    ASSERT_EQ(Run({"export", exported}).exitCode, cli::ExitOk);
    EXPECT_EQ(std::filesystem::file_size(exported), 32832u);
}

TEST_F(ProfileCommandsTest, BackupWorksWithoutTheKeyboardExportDoesNot)
{
    ASSERT_EQ(Run({"macro", "add", "Greeting", "H:down:10", "H:up"}).exitCode, cli::ExitOk);
    const std::string attached = userFolder.File("attached.tvl");
    ASSERT_EQ(Run({"backup", attached}).exitCode, cli::ExitOk);

    ASSERT_EQ(kb.QlSimUnplug(), 1);
    ASSERT_TRUE(kb.waitIdle());
    const std::string detached = userFolder.File("detached.tvl");
    const auto backup = Run({"backup", detached});
    const auto exported = Run({"export", userFolder.File("exported.tvl")});
    ASSERT_EQ(kb.QlSimPlug(), 1);
    ASSERT_TRUE(kb.waitIdle());

    EXPECT_EQ(backup.exitCode, cli::ExitOk) << backup.err;
    EXPECT_NE(backup.err.find("not attached"), std::string::npos) << backup.err;
    EXPECT_EQ(TempDir::Read(detached), TempDir::Read(attached));
    EXPECT_EQ(exported.exitCode, cli::ExitNoKeyboard);

    // No profile file yet: nothing to fall back on.
    const TempDir empty;
    ASSERT_EQ(kb.QlSimUnplug(), 1);
    ASSERT_TRUE(kb.waitIdle());
    const auto none = RunRaw({"--simulate", "--user-folder", empty.Path().string(), "backup", detached});
    ASSERT_EQ(kb.QlSimPlug(), 1);
    EXPECT_EQ(none.exitCode, cli::ExitNoKeyboard);
    EXPECT_NE(none.err.find("No keyboard found"), std::string::npos) << none.err;
}

TEST_F(ProfileCommandsTest, ABrokenExchangeFileIsRefusedAndNothingIsWritten)
{
    const std::string file = userFolder.File("broken.tvl");
    ASSERT_EQ(Run({"backup", file}).exitCode, cli::ExitOk);
    {
        std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(14);
        const char count[2] = {101, 0};  // 101 macros
        f.write(count, 2);
    }
    kb.QlSimLogClear();
    const auto run = Run({"restore", file});
    EXPECT_EQ(run.exitCode, cli::ExitNotExchangeFile);
    EXPECT_NE(run.err.find("101"), std::string::npos) << run.err;
    EXPECT_EQ(Sent(8) + Sent(10), 0);

    const auto missing = Run({"restore", userFolder.File("none.tvl")});
    EXPECT_EQ(missing.exitCode, cli::ExitFileError);
}

TEST_F(ProfileCommandsTest, ARestoreStoppedPartWaySaysWhatTheKeyboardHolds)
{
    const std::string file = userFolder.File("all.tvl");
    ASSERT_EQ(Run({"backup", file}).exitCode, cli::ExitOk);
    kb.QlSimLogClear();
    ASSERT_EQ(Run({"keys"}).exitCode, cli::ExitOk);
    const int load = kb.QlSimLogCount();
    kb.QlSimLogClear();
    ASSERT_EQ(Run({"restore", file}).exitCode, cli::ExitOk);
    const int macroPieces = Sent(10);

    // The keyboard leaves three pieces into profile 1's block.
    kb.QlSimLeaveBusAfter(static_cast<uint32_t>(load + 1 + macroPieces + 10 + 3));
    const auto run = Run({"restore", file});
    ASSERT_EQ(kb.QlSimPlug(), 1);
    ASSERT_TRUE(kb.waitIdle());
    EXPECT_EQ(run.exitCode, cli::ExitKeyboardError);
    EXPECT_NE(run.err.find("Written: the macro area, the keys of profile 1. Not written (the keyboard may hold a "
                           "part of it): the keys of profiles 2 and 3."),
              std::string::npos)
        << run.err;
}

// The window numbers profiles 1 to 3, so every number typed or printed is
// one of those; only JSON carries the keyboard's index 0 to 2 as well.
TEST_F(ProfileCommandsTest, ProfilesAreNumberedOneToThree)
{
    const auto switched = Run({"profile", "3"});
    ASSERT_EQ(switched.exitCode, cli::ExitOk) << switched.err;
    EXPECT_EQ(switched.out, "Profile 3 is now active.\n");
    uint8_t active = 9;
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_INFO, 10, &active, 1), 1);
    EXPECT_EQ(active, 2);
    EXPECT_EQ(Run({"profile"}).out, "Active profile 3\n");
    const auto shown = nlohmann::json::parse(Run({"profile", "--json"}).out);
    EXPECT_EQ(shown["activeProfile"], 2);
    EXPECT_EQ(shown["activeProfileNumber"], 3);

    for (const char* bad : {"0", "4"}) {
        const auto refused = Run({"profile", bad});
        EXPECT_EQ(refused.exitCode, cli::ExitUsage) << bad;
        EXPECT_NE(refused.err.find("1 to 3"), std::string::npos) << refused.err;
        EXPECT_EQ(Run({"keys", "--profile", bad}).exitCode, cli::ExitUsage) << bad;
    }

    // Profile 1 is the keyboard's first table.
    ASSERT_EQ(Run({"key", "set", "A", "key:C", "--profile", "1"}).exitCode, cli::ExitOk);
    EXPECT_EQ(At(Block(0), KeyA), (Code{2, 2, 0x06}));
    const auto keys = nlohmann::json::parse(Run({"keys", "--profile", "1", "--json"}).out);
    EXPECT_EQ(keys["profile"], 0);
    EXPECT_EQ(keys["profileNumber"], 1);

    const auto help = Run({"profile", "--help"});
    EXPECT_NE(help.out.find("1, 2 or 3"), std::string::npos) << help.out;
    const auto overview = Run({"--help"});
    EXPECT_NE(overview.out.find("Profiles are numbered 1 to 3"), std::string::npos) << overview.out;
}

// Every command that changes something says so in one line, and nothing with
// --quiet; the same sequence runs twice, the second time quietly.
TEST_F(ProfileCommandsTest, EveryChangeIsConfirmedInOneLineUnlessQuiet)
{
    const std::string folder = userFolder.Path().string();
    const struct {
        std::vector<std::string> args;
        std::string said;
    } changes[] = {
        {{"key", "set", "F5", "key:A", "--profile", "2"}, "Profile 2: F5 now sends key:A."},
        {{"key", "set", "G2", "wheel:up", "--bank", "b"}, "Profile 1: G2 (bank b) now sends wheel:up."},
        {{"key", "set", "F5", "default", "--profile", "2"}, "Profile 2: F5 is back to its own function."},
        {{"key", "reset", "--profile", "2"}, "Profile 2: every key is back to its own function."},
        {{"macro", "add", "Copy", "A:down", "A:up"}, "Macro 1 added."},
        {{"macro", "rename", "Copy", "Paste"}, "Macro 1 (\"Copy\") is now named \"Paste\"."},
        {{"macro", "set", "Paste", "--repeat", "2"}, "Macro 1 (\"Paste\") now plays 2 times."},
        {{"key", "set", "F6", "macro:Paste"}, "Profile 1: F6 now sends macro:Paste."},
        {{"macro", "export", "Paste", folder + "/paste.macro"}, "Wrote macro 1 to " + folder + "/paste.macro."},
        {{"backup", folder + "/every"}, "Backed up every profile to " + folder + "/every.tvl."},
        {{"export", folder + "/keyboard"},
         "Exported the keyboard's key tables and macros to " + folder + "/keyboard.tvl."},
        {{"macro", "delete", "Paste"},
         "Macro 1 (\"Paste\") deleted; keys that played it are back to their own function."},
        {{"restore", folder + "/every.tvl"},
         "Restored every profile and the macros from " + folder + "/every.tvl to the keyboard."},
        {{"profile", "2"}, "Profile 2 is now active."},
    };
    for (const bool quiet : {false, true}) {
        ASSERT_EQ(kb.QlSimReset(), 1);
        ASSERT_TRUE(kb.waitIdle());
        for (const auto& change : changes) {
            std::vector<std::string> args = change.args;
            if (quiet)
                args.insert(args.begin(), "--quiet");
            const auto run = Run(args);
            ASSERT_EQ(run.exitCode, cli::ExitOk) << args[0] << " " << args[1] << ": " << run.err;
            EXPECT_EQ(run.out, quiet ? "" : change.said + "\n") << args[0] << " " << args[1];
        }
    }
    // A name with an extension of its own keeps it.
    ASSERT_EQ(Run({"backup", folder + "/every.bak"}).exitCode, cli::ExitOk);
    EXPECT_TRUE(std::filesystem::exists(folder + "/every.bak"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/every.bak.tvl"));
}

TEST_F(ProfileCommandsTest, MacrosMustFitTheKeyboard)
{
    // A macro area of 128 bytes cannot take a hundred events.
    SetMacroCapacityUnits(1);
    std::vector<std::string> args{"macro", "add", "Long"};
    for (int i = 0; i < 50; ++i) {
        args.push_back("A:down:10");
        args.push_back("A:up:10");
    }
    kb.QlSimLogClear();
    const auto tooLong = Run(args);
    EXPECT_EQ(tooLong.exitCode, cli::ExitMacrosTooLong);
    EXPECT_NE(tooLong.err.find("bytes too many"), std::string::npos) << tooLong.err;
    EXPECT_EQ(Sent(8) + Sent(10), 0);
    EXPECT_EQ(MacroArea()[0], 0);  // the keyboard still holds no macros

    // Room for the events but not the long name: written without names.
    const std::string longName(200, 'n');
    const auto tight = Run({"macro", "add", longName, "A:down:10", "A:up"});
    EXPECT_EQ(tight.exitCode, cli::ExitOk) << tight.err;
    EXPECT_NE(tight.err.find("without their names"), std::string::npos) << tight.err;
    const auto area = MacroArea();
    EXPECT_EQ(area[4], 1);
    EXPECT_LE(area[2] | (area[3] << 8), 128);
}

TEST_F(ProfileCommandsTest, AKeyboardThatFailsIsReportedAndNothingIsHalfDone)
{
    // A keyboard that refuses from the start: its tables cannot be read, so
    // nothing may be written over them.
    kb.QlSimFailStatus(0xFF, 100000);
    kb.QlSimLogClear();
    const auto refused = Run({"key", "set", "A", "key:B"});
    kb.QlSimFailStatus(0xFF, 0);
    EXPECT_EQ(refused.exitCode, cli::ExitKeyboardError);
    EXPECT_NE(refused.err.find("cannot read the keyboard's key tables"), std::string::npos) << refused.err;
    EXPECT_EQ(Sent(8) + Sent(10), 0);

    // A keyboard that leaves the bus in the middle of the write.
    kb.QlSimLogClear();
    ASSERT_EQ(Run({"keys"}).exitCode, cli::ExitOk);
    const int load = kb.QlSimLogCount();
    kb.QlSimLeaveBusAfter(static_cast<uint32_t>(load + 3));
    const auto gone = Run({"key", "set", "A", "key:B"});
    EXPECT_EQ(gone.exitCode, cli::ExitKeyboardError);
    EXPECT_NE(gone.err.find("writing the keyboard failed"), std::string::npos) << gone.err;
    ASSERT_EQ(kb.QlSimPlug(), 1);
    ASSERT_TRUE(kb.waitIdle());

    // The profile file is whole, and the next run reads the keyboard again.
    const auto profileFile = userFolder.Path() / "$Profile0";
    ASSERT_TRUE(std::filesystem::exists(profileFile));
    EXPECT_GE(std::filesystem::file_size(profileFile), 32832u);
    EXPECT_EQ(Run({"keys"}).exitCode, cli::ExitOk);
}

}  // namespace
}  // namespace trevolin::test
