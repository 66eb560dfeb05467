// trevolinctl's macro commands end to end against the simulated keyboard:
// names, macro files, small and damaged macro areas.
#include "cli/CliTestSupport.h"
#include "cli/ExitCode.h"

#include <nlohmann/json.hpp>

#include <array>
#include <fstream>
#include <iterator>

namespace trevolin::test {
namespace {

class MacroCommandsTest : public CliTest {
protected:
    // Reports that wrote the keyboard's key maps or macro area since the log
    // was cleared.
    int Writes()
    {
        int n = 0;
        for (int i = 0; i < kb.QlSimLogCount(); ++i) {
            uint8_t r[64];
            kb.QlSimLogGet(static_cast<uint32_t>(i), r);
            n += r[3] == 8 || r[3] == 10;
        }
        return n;
    }

    std::string WriteFile(const std::string& name, const std::string& content)
    {
        const std::string path = userFolder.File(name);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
};

TEST_F(MacroCommandsTest, NamesThatCannotBeShownOrReadAsAnIdAreRefused)
{
    ASSERT_EQ(Run({"macro", "add", "Copy", "A:down", "A:up"}).exitCode, cli::ExitOk);
    kb.QlSimLogClear();
    for (const char* name : {"   ", "two\nlines", "tab\there", "42"}) {
        const auto add = Run({"macro", "add", name, "B:down"});
        EXPECT_EQ(add.exitCode, cli::ExitUsage) << name;
        EXPECT_TRUE(Has(add.err, "a macro's name cannot")) << add.err;
        EXPECT_EQ(Run({"macro", "rename", "Copy", name}).exitCode, cli::ExitUsage) << name;
    }
    EXPECT_EQ(Writes(), 0);
    // One event is an event, not "events".
    EXPECT_TRUE(Has(Run({"macro", "list"}).out, "  Copy  (repeat 1, 2 events)"));
    ASSERT_EQ(Run({"macro", "add", "Single", "B:down"}).exitCode, cli::ExitOk);
    EXPECT_TRUE(Has(Run({"macro", "list"}).out, "  Single  (repeat 1, 1 event)\n"));
}

TEST_F(MacroCommandsTest, AMacroGoesToAFileAndComesBack)
{
    ASSERT_EQ(Run({"macro", "add", "Copy line", "--repeat", "3", "Home:down", "Home:up", "LeftShift:down:20",
                   "End:down", "End:up", "LeftShift:up", "MouseLeft:down:40000"})
                  .exitCode,
              cli::ExitOk);
    const std::string shown = Run({"macro", "show", "Copy line"}).out;
    const std::string file = userFolder.File("copy.macro");
    ASSERT_EQ(Run({"macro", "export", "Copy line", file}).exitCode, cli::ExitOk);
    const auto toOut = Run({"macro", "export", "1", "-"});
    EXPECT_EQ(toOut.out, ReadFile(file));
    EXPECT_TRUE(Has(toOut.out, "name = Copy line\nrepeat = 3\n")) << toOut.out;

    ASSERT_EQ(Run({"macro", "delete", "1"}).exitCode, cli::ExitOk);
    const auto imported = Run({"macro", "import", file});
    ASSERT_EQ(imported.exitCode, cli::ExitOk) << imported.err;
    EXPECT_EQ(Run({"macro", "show", "Copy line"}).out, shown);

    // The play count alone changes, on the keyboard too.
    ASSERT_EQ(Run({"macro", "set", "Copy line", "--repeat", "7"}).exitCode, cli::ExitOk);
    EXPECT_TRUE(Has(Run({"macro", "list"}).out, "Copy line  (repeat 7, 7 events)"));
    const auto area = MacroArea();
    EXPECT_EQ(area[18 + 2], 7);  // the first record's play count
    EXPECT_EQ(Run({"macro", "set", "Copy line", "--repeat", "0"}).exitCode, cli::ExitUsage);
    EXPECT_EQ(Run({"macro", "set", "Nothing", "--repeat", "2"}).exitCode, cli::ExitUsage);
}

TEST_F(MacroCommandsTest, ABadMacroFileIsRefusedWithItsLineAndNothingIsWritten)
{
    struct Case {
        std::string content;
        std::string message;
    };
    const Case cases[] = {
        {"# mine\nname = Paste\n\nV:down V:sideways\n", "bad.macro:4: an event is down or up"},
        {"name = Paste\nrepeat = 0\nV:down\n", "bad.macro:2: the repeat count is 1 to 255"},
        {"name = Copy\nV:down\n", "exists already"},
        {"V:down\n", "bad.macro: the file has no \"name = ...\" line"},
    };
    ASSERT_EQ(Run({"macro", "add", "Copy", "A:down", "A:up"}).exitCode, cli::ExitOk);
    for (const Case& c : cases) {
        kb.QlSimLogClear();
        const auto run = Run({"macro", "import", WriteFile("bad.macro", c.content)});
        EXPECT_EQ(run.exitCode, cli::ExitUsage);
        EXPECT_TRUE(Has(run.err, c.message)) << run.err;
        EXPECT_EQ(Writes(), 0);
    }
    const auto missing = Run({"macro", "import", userFolder.File("missing.macro")});
    EXPECT_EQ(missing.exitCode, cli::ExitFileError);
    EXPECT_TRUE(Has(missing.err, "no such file")) << missing.err;
}

// A keyboard whose macro area holds the macros only without their names:
// the names stay on this computer and every later command still shows
// them and finds macros by them.
TEST_F(MacroCommandsTest, NamesSurviveAMacroAreaTooSmallForThem)
{
    SetMacroCapacityUnits(1);
    const std::string first = "The first macro, with a long name";
    const std::string second = "The second macro, also with a long name";
    ASSERT_EQ(Run({"macro", "add", first, "A:down", "A:up"}).exitCode, cli::ExitOk);
    const auto tight = Run({"macro", "add", second, "B:down", "B:up", "C:down", "C:up"});
    ASSERT_EQ(tight.exitCode, cli::ExitOk) << tight.err;
    EXPECT_TRUE(Has(tight.err, "kept on this computer only")) << tight.err;
    EXPECT_EQ(MacroArea()[6], 0);  // the names flag: the keyboard has none

    const auto list = Run({"macro", "list"});
    EXPECT_TRUE(Has(list.out, "  1  " + first + "  (")) << list.out;
    EXPECT_TRUE(Has(list.out, "  2  " + second + "  (")) << list.out;
    EXPECT_EQ(Run({"macro", "show", second}).exitCode, cli::ExitOk);
    ASSERT_EQ(Run({"key", "set", "F5", "macro:" + first}).exitCode, cli::ExitOk);
    EXPECT_TRUE(Has(Run({"keys", "--assigned"}).out, "macro:" + first));
}

// A macro-area header that declares more than the area holds must not lock
// the user out: every command reads the key tables and the macros before
// the damage, and a restore or any change writes a whole area again.
TEST_F(MacroCommandsTest, ADamagedMacroAreaCanAlwaysBeRepaired)
{
    ASSERT_EQ(Run({"macro", "add", "One", "A:down", "A:up"}).exitCode, cli::ExitOk);
    const std::string good = userFolder.File("good.tvl");
    ASSERT_EQ(Run({"backup", good}).exitCode, cli::ExitOk);
    const auto capacity = static_cast<uint32_t>(kb.QlSimAreaSize(QL_SIM_AREA_MACRO));
    const uint16_t declared = static_cast<uint16_t>(capacity + 0x1000);
    const uint8_t total[2] = {static_cast<uint8_t>(declared & 0xFF), static_cast<uint8_t>(declared >> 8)};
    ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_MACRO, 2, total, 2), 1);

    for (const std::vector<std::string>& args : {std::vector<std::string>{"keys"},
                                                 {"macro", "list"},
                                                 {"profile", "1"},
                                                 {"export", userFolder.File("e.tvl")}}) {
        const auto run = Run(args);
        EXPECT_EQ(run.exitCode, cli::ExitOk) << args[0] << ": " << run.err;
        EXPECT_TRUE(Has(run.err, "macro area is damaged")) << run.err;
    }
    EXPECT_TRUE(Has(Run({"macro", "list"}).out, "One"));

    const auto raw = Run({"raw", "read", "macro"});
    EXPECT_EQ(raw.exitCode, cli::ExitOk) << raw.err;
    EXPECT_FALSE(Has(raw.err, "busy")) << raw.err;
    EXPECT_TRUE(Has(raw.err, "declares " + std::to_string(declared) + " bytes")) << raw.err;

    const auto restore = Run({"restore", good});
    EXPECT_EQ(restore.exitCode, cli::ExitOk) << restore.err;
    const auto area = MacroArea();
    EXPECT_LE(area[2] | (area[3] << 8), static_cast<int>(capacity));
    const auto after = Run({"macro", "list"});
    EXPECT_EQ(after.err, "");
    EXPECT_TRUE(Has(after.out, "One"));
}

// Exchange files whose macros break the keyboard's limits.
TEST_F(MacroCommandsTest, RestoredMacrosStayWithinTheKeyboardsLimits)
{
    ASSERT_EQ(Run({"macro", "add", "One", "A:down", "A:up"}).exitCode, cli::ExitOk);
    const std::string file = userFolder.File("file.tvl");
    ASSERT_EQ(Run({"backup", file}).exitCode, cli::ExitOk);
    const std::string good = ReadFile(file);
    constexpr size_t Record = 32832;  // the first macro record

    std::string silent = good;
    silent[Record + 500] = 0;  // play count
    kb.QlSimLogClear();
    const auto raised = Run({"restore", WriteFile("silent.tvl", silent)});
    EXPECT_EQ(raised.exitCode, cli::ExitOk) << raised.err;
    EXPECT_TRUE(Has(raised.err, "play count of 0")) << raised.err;
    EXPECT_EQ(MacroArea()[18 + 2], 1);

    std::string many = good;
    many[Record + 508] = static_cast<char>(5000 & 0xFF);
    many[Record + 509] = static_cast<char>(5000 >> 8);
    kb.QlSimLogClear();
    const auto refused = Run({"restore", WriteFile("many.tvl", many)});
    EXPECT_EQ(refused.exitCode, cli::ExitNotExchangeFile);
    EXPECT_TRUE(Has(refused.err, "declares 5000 events")) << refused.err;
    EXPECT_EQ(Writes(), 0);
}

// A key whose macro the keyboard does not have (a key map written by other
// software, or a list that lost its last macros) says so.
TEST_F(MacroCommandsTest, AKeyPlayingAMissingMacroSaysSo)
{
    std::array<uint8_t, 512> defaults{};
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_DEFAULT_KEYMAP, 0, defaults.data(), 512), 1);
    size_t position = 0;
    while (position < 126 && !(defaults[3 * position] == 2 && defaults[3 * position + 2] == 0x04))
        ++position;
    ASSERT_LT(position, 126u);  // the key A
    const uint8_t playMacro10[3] = {5, 1, 9};
    ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_KEYMAPS, static_cast<uint32_t>(3 * position), playMacro10, 3), 1);

    const auto keys = Run({"keys", "--profile", "1", "--assigned"});
    EXPECT_TRUE(Has(keys.out, "raw:05-01-09 (macro 10, which no longer exists)")) << keys.out;
    const auto json = nlohmann::json::parse(Run({"keys", "--profile", "1", "--assigned", "--json"}).out);
    bool described = false;
    for (const auto& k : json["keys"])
        described |= k["key"] == "A" && Has(k["description"].get<std::string>(), "macro 10, which no longer exists");
    EXPECT_TRUE(described) << json.dump();
}

}  // namespace
}  // namespace trevolin::test
