// What `key set` and `keys` do with keys the keyboard cannot assign, with
// codes the program does not know, and what the command line says when
// something goes wrong.
#include "cli/CliTestSupport.h"
#include "cli/ExitCode.h"
#include "core/base/ProgramVersion.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace trevolin::test {
namespace {

using Code = std::array<uint8_t, 3>;
using Block = std::array<uint8_t, 512>;

class KeyCommandsTest : public CliTest {
protected:
    Block KeyMap(int profile)
    {
        Block b{};
        EXPECT_EQ(kb.QlSimReadArea(QL_SIM_AREA_KEYMAPS, static_cast<uint32_t>(profile * 512), b.data(), 512), 1);
        return b;
    }

    // The position of a key: where the default map holds its own code.
    size_t PositionOf(const Code& ownCode)
    {
        Block d{};
        EXPECT_EQ(kb.QlSimReadArea(QL_SIM_AREA_DEFAULT_KEYMAP, 0, d.data(), 512), 1);
        for (size_t p = 0; p < 126; ++p)
            if (Code{d[3 * p], d[3 * p + 1], d[3 * p + 2]} == ownCode)
                return p;
        ADD_FAILURE() << "key not in the default map";
        return 0;
    }

    Code At(int profile, const Code& key)
    {
        const Block b = KeyMap(profile);
        const size_t p = PositionOf(key);
        return {b[3 * p], b[3 * p + 1], b[3 * p + 2]};
    }

    // Puts a code on the keyboard the way other software would.
    void Plant(int profile, const Code& key, const Code& code)
    {
        const auto offset = static_cast<uint32_t>(profile * 512 + 3 * PositionOf(key));
        ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_KEYMAPS, offset, code.data(), 3), 1);
    }

    std::map<std::string, nlohmann::json> KeysByName(std::vector<std::string> extra = {})
    {
        std::vector<std::string> args{"keys", "--json"};
        args.insert(args.end(), extra.begin(), extra.end());
        const auto run = Run(args);
        EXPECT_EQ(run.exitCode, cli::ExitOk) << run.err;
        std::map<std::string, nlohmann::json> keys;
        const auto listing = nlohmann::json::parse(run.out);
        for (const auto& k : listing["keys"])
            keys[k["key"].get<std::string>() + (k.contains("bank") ? k["bank"].get<std::string>() : "")] = k;
        return keys;
    }

    static constexpr Code KeyA{2, 2, 0x04}, KeyS{2, 2, 0x16}, KeyD{2, 2, 0x07}, KeyQ{2, 2, 0x14}, KeyW{2, 2, 0x1A},
        KeyE{2, 2, 0x08}, NumLock{2, 2, 0x53};
};

TEST_F(KeyCommandsTest, AKeyWithoutAPositionIsRefusedAndShownAsNotAvailable)
{
    const Block before = KeyMap(0);
    for (const char* key : {"Num7", "NumEnter", "Num0"}) {
        const auto run = Run({"key", "set", key, "key:A"});
        EXPECT_EQ(run.exitCode, cli::ExitUsage) << key;
        EXPECT_NE(run.err.find("'" + std::string(key) + "' cannot be reassigned. Keys that can: "), std::string::npos)
            << run.err;
        EXPECT_EQ(KeyMap(0), before) << key;
    }
    // The keypad keys the default map does hold can be assigned.
    ASSERT_EQ(Run({"key", "set", "NumLock", "key:A"}).exitCode, cli::ExitOk);
    EXPECT_EQ(At(0, NumLock), KeyA);

    auto keys = KeysByName();
    EXPECT_EQ(keys["Num7"]["available"], false);
    EXPECT_EQ(keys["NumLock"]["available"], true);
    EXPECT_EQ(keys["G1a"]["available"], true);
    const auto text = Run({"keys"});
    EXPECT_NE(text.out.find("Num7           not available"), std::string::npos) << text.out;
    EXPECT_EQ(Run({"keys", "--assigned"}).out.find("Num7"), std::string::npos);
}

// The names listed after "marker" up to the closing full stop.
std::vector<std::string> ListedAfter(const std::string& text, const std::string& marker)
{
    std::vector<std::string> names;
    size_t start = text.find(marker);
    if (start == std::string::npos)
        return names;
    start += marker.size();
    const size_t end = text.find(".\n", start);
    while (start < end) {
        const size_t comma = std::min(text.find(", ", start), end);
        names.push_back(text.substr(start, comma - start));
        start = comma + 2;
    }
    return names;
}

// A key to reassign and a key to send are different roles: each message
// lists exactly the names that work in its role.
TEST_F(KeyCommandsTest, EachRoleListsOnlyTheKeysValidInIt)
{
    std::set<std::string> reassignable;
    for (const auto& [name, key] : KeysByName()) {
        if (key["available"] == true && (!key.contains("bank") || key["bank"] == "a"))
            reassignable.insert(key["key"].get<std::string>());
    }
    ASSERT_TRUE(reassignable.contains("G1"));
    ASSERT_FALSE(reassignable.contains("Num7"));

    for (const char* target : {"NoSuchKey", "Fn", "Num7"}) {
        SCOPED_TRACE(target);
        const auto run = Run({"key", "set", target, "key:A"});
        EXPECT_EQ(run.exitCode, cli::ExitUsage);
        const std::string intro = std::string(target) == "Num7"
                                      ? "' cannot be reassigned. Keys that can: "
                                      : "' is not a key that can be reassigned. Keys that can: ";
        const auto listed = ListedAfter(run.err, "'" + std::string(target) + intro);
        EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), reassignable) << run.err;
    }

    const auto noKey = Run({"key", "set", "A", "key:NoSuchKey"});
    EXPECT_EQ(noKey.exitCode, cli::ExitUsage);
    const auto sendable = ListedAfter(noKey.err, "'NoSuchKey' is not a key Trevolin can send. Keys it can send: ");
    EXPECT_EQ(sendable.size(), 105u) << noKey.err;
    EXPECT_NE(std::find(sendable.begin(), sendable.end(), "Num7"), sendable.end()) << "a keypad key can be sent";
    EXPECT_EQ(std::find(sendable.begin(), sendable.end(), "G1"), sendable.end()) << "a G key sends nothing";
    ASSERT_EQ(Run({"key", "set", "A", "key:Num7"}).exitCode, cli::ExitOk);

    // Without the keyboard the name is still refused as a bad argument.
    ASSERT_EQ(kb.QlSimUnplug(), 1);
    ASSERT_TRUE(kb.waitIdle());
    const auto unplugged = Run({"key", "set", "NoSuchKey", "key:A"});
    ASSERT_EQ(kb.QlSimPlug(), 1);
    ASSERT_TRUE(kb.waitIdle());
    EXPECT_EQ(unplugged.exitCode, cli::ExitUsage);
    EXPECT_NE(unplugged.err.find("'NoSuchKey' is not a key that can be reassigned"), std::string::npos)
        << unplugged.err;
}

// The tooltip text `keys --json` gives names every action, as the window's
// tooltips do.
TEST_F(KeyCommandsTest, DescriptionsNameTheAction)
{
    const struct {
        const char* key;
        const char* action;
        const char* description;
    } cases[] = {
        {"F11", "stop-macro", "F11 - stop macro"},
        {"F5", "wheel:up", "F5 - mouse: Wheel up"},
        {"F6", "mouse:left", "F6 - mouse: Left button"},
        {"F7", "key:A", "F7 - key: A"},
        {"F8", "disabled", "F8 - disabled"},
    };
    for (const auto& c : cases)
        ASSERT_EQ(Run({"key", "set", c.key, c.action}).exitCode, cli::ExitOk) << c.key;
    auto keys = KeysByName();
    for (const auto& c : cases)
        EXPECT_EQ(keys[c.key]["description"], c.description);
}

TEST_F(KeyCommandsTest, CodesTheProgramDoesNotKnowSurviveAnUnrelatedChange)
{
    // One macro: macro number 9 is past the list.
    ASSERT_EQ(Run({"macro", "add", "One", "A:down", "A:up"}).exitCode, cli::ExitOk);
    const std::map<std::string, std::pair<Code, Code>> planted = {
        {"S", {KeyS, {0x04, 0x81, 0x00}}},  // power
        {"D", {KeyD, {0x03, 0x34, 0x12}}},  // a media usage outside the list
        {"Q", {KeyQ, {0x01, 0x01, 0x07}}},  // three mouse buttons
        {"W", {KeyW, {0x05, 0x01, 0x09}}},  // a macro past the list
    };
    for (const auto& [name, what] : planted)
        Plant(0, what.first, what.second);

    const auto set = Run({"key", "set", "A", "key:B"});
    ASSERT_EQ(set.exitCode, cli::ExitOk) << set.err;
    EXPECT_EQ(At(0, KeyA), (Code{2, 2, 0x05}));
    for (const auto& [name, what] : planted)
        EXPECT_EQ(At(0, what.first), what.second) << name;

    // A macro change neither: the macro number stays past the list.
    ASSERT_EQ(Run({"macro", "add", "Two", "B:down", "B:up"}).exitCode, cli::ExitOk);
    for (const auto& [name, what] : planted)
        EXPECT_EQ(At(0, what.first), what.second) << name;

    auto keys = KeysByName({"--assigned"});
    EXPECT_EQ(keys["S"]["action"], "raw:04-81-00");
    EXPECT_EQ(keys["D"]["action"], "raw:03-34-12");
    EXPECT_EQ(keys["Q"]["action"], "raw:01-01-07");
    EXPECT_EQ(keys["W"]["action"], "raw:05-01-09");

    // Through an exchange file and back.
    const std::string file = userFolder.File("raw.tvl");
    ASSERT_EQ(Run({"export", file}).exitCode, cli::ExitOk);
    ASSERT_EQ(Run({"key", "reset"}).exitCode, cli::ExitOk);
    EXPECT_EQ(At(0, KeyS), KeyS);
    const auto restore = Run({"restore", file});
    ASSERT_EQ(restore.exitCode, cli::ExitOk) << restore.err;
    for (const auto& [name, what] : planted)
        EXPECT_EQ(At(0, what.first), what.second) << name;

    // Changing such a key replaces its code, also with the action other
    // programs read it as; `raw:` puts a code there.
    ASSERT_EQ(Run({"key", "set", "S", "disabled"}).exitCode, cli::ExitOk);
    EXPECT_EQ(At(0, KeyS), (Code{0, 0, 0}));
    ASSERT_EQ(Run({"key", "set", "E", "raw:04-82-00"}).exitCode, cli::ExitOk);
    EXPECT_EQ(At(0, KeyE), (Code{0x04, 0x82, 0x00}));
    EXPECT_EQ(KeysByName()["E"]["action"], "raw:04-82-00");
}

TEST_F(KeyCommandsTest, TheExchangeFileKeepsARawCodeInTheRecordsLastBytes)
{
    Plant(1, KeyS, {0x04, 0x81, 0x00});
    const std::string file = userFolder.File("raw.tvl");
    ASSERT_EQ(Run({"export", file}).exitCode, cli::ExitOk);
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Layer 1, key number 0x1F (S): kind 1, value 0 as other programs read
    // the code, and the code with its marker in bytes 12 to 15.
    const size_t entry = 64 + 1 * 8192 + 0x1F * 16;
    ASSERT_GE(bytes.size(), entry + 16);
    const std::string expected("\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x04\x81\x00\x52", 16);
    EXPECT_EQ(bytes.substr(entry, 16), expected);
}

TEST_F(KeyCommandsTest, EveryActionKeysShowsIsOneKeySetTakes)
{
    ASSERT_EQ(Run({"key", "set", "A", "disabled"}).exitCode, cli::ExitOk);
    ASSERT_EQ(Run({"key", "set", "S", "stop-macro"}).exitCode, cli::ExitOk);
    EXPECT_EQ(At(0, KeyA), (Code{0, 0, 0}));
    EXPECT_EQ(At(0, KeyS), (Code{5, 2, 0}));
    auto keys = KeysByName();
    EXPECT_EQ(keys["A"]["action"], "disabled");
    EXPECT_EQ(keys["S"]["action"], "stop-macro");
    EXPECT_EQ(keys["G3b"]["bank"], "b");

    // The bank is written as --bank takes it.
    const auto text = Run({"keys"}).out;
    EXPECT_NE(text.find("G1 (bank a)"), std::string::npos) << text;
    EXPECT_NE(text.find("G1 (bank b)"), std::string::npos) << text;
    EXPECT_EQ(text.find("kind "), std::string::npos) << text;
    EXPECT_EQ(Run({"key", "set", "G1", "key:A", "--bank", "b"}).exitCode, cli::ExitOk);
    EXPECT_EQ(KeysByName()["G1b"]["action"], "key:A");
}

TEST_F(KeyCommandsTest, TheNamesTheCommandsTakeAreListedWithoutAKeyboard)
{
    ASSERT_EQ(kb.QlSimUnplug(), 1);
    ASSERT_TRUE(kb.waitIdle());
    const auto names = Run({"keys", "--names"});
    ASSERT_EQ(names.exitCode, cli::ExitOk) << names.err;
    for (const char* name : {"NumEnter", "RightShift", "volume-up", "browser-favorites", "G1 to G9", "MouseLeft",
                             "mouse:left", "stop-macro", "raw:XX-XX-XX"})
        EXPECT_NE(names.out.find(name), std::string::npos) << name;
    EXPECT_NE(names.out.find("  11  "), std::string::npos) << names.out;

    const auto j = nlohmann::json::parse(Run({"keys", "--names", "--json"}).out);
    EXPECT_EQ(j["keys"].size(), 105u);
    EXPECT_EQ(j["gKeys"].size(), 9u);
    EXPECT_EQ(j["media"].size(), 18u);
    EXPECT_EQ(j["functions"].size(), 11u);
    ASSERT_EQ(kb.QlSimPlug(), 1);
}

TEST_F(KeyCommandsTest, MessagesSaySentencesNotCodes)
{
    const auto version = RunRaw({"--version"});
    EXPECT_EQ(version.exitCode, cli::ExitOk);
    EXPECT_EQ(version.out, "trevolinctl " + std::string(base::ProgramVersion()) + "\n");

    const auto bogus = RunRaw({"--simulate", "bogus"});
    EXPECT_EQ(bogus.exitCode, cli::ExitUsage);
    EXPECT_NE(bogus.err.find("unknown command \"bogus\""), std::string::npos) << bogus.err;

    const auto missing = Run({"restore", "/nonexistent.tvl"});
    EXPECT_EQ(missing.exitCode, cli::ExitFileError);
    EXPECT_NE(missing.err.find("/nonexistent.tvl: no such file"), std::string::npos) << missing.err;

    const auto profile = nlohmann::json::parse(Run({"profile", "--json"}).out);
    EXPECT_EQ(profile["name"], "Profile 1");

    // Status 0xFE: the keyboard would not carry the request out.
    kb.QlSimFailStatus(0xFE, 100000);
    const auto refused = Run({"raw", "read", "keymap", "1"});
    kb.QlSimFailStatus(0xFE, 0);
    EXPECT_EQ(refused.exitCode, cli::ExitKeyboardError);
    EXPECT_NE(refused.err.find("refused to carry out"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.err.find("busy"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.err.find("result"), std::string::npos) << refused.err;

    ASSERT_EQ(kb.QlSimUnplug(), 1);
    ASSERT_TRUE(kb.waitIdle());
    const auto unplugged = Run({"keys"});
    ASSERT_EQ(kb.QlSimPlug(), 1);
    EXPECT_EQ(unplugged.exitCode, cli::ExitNoKeyboard);
    EXPECT_NE(unplugged.err.find("No keyboard found"), std::string::npos) << unplugged.err;
    EXPECT_EQ(unplugged.err.find("--simulate"), std::string::npos) << unplugged.err;
}

TEST_F(KeyCommandsTest, DelaysTheKeyboardCannotKeepAreRefused)
{
    const auto run = Run({"macro", "add", "Odd", "A:down:15", "A:up"});
    EXPECT_EQ(run.exitCode, cli::ExitUsage);
    EXPECT_NE(run.err.find("steps of 10 ms"), std::string::npos) << run.err;
    EXPECT_EQ(Run({"macro", "list", "--json"}).out.find("Odd"), std::string::npos);
}

TEST_F(KeyCommandsTest, TheCapacityErrorAsksNothingOfAWindow)
{
    uint8_t info[44];
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_INFO, 0, info, 44), 1);
    info[11] = 1;  // a macro area of 128 bytes
    ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_INFO, 0, info, 44), 1);
    std::vector<std::string> args{"macro", "add", "Long"};
    for (int i = 0; i < 50; ++i) {
        args.push_back("A:down:10");
        args.push_back("A:up:10");
    }
    const auto tooLong = Run(args);
    EXPECT_EQ(tooLong.exitCode, cli::ExitMacrosTooLong);
    EXPECT_NE(tooLong.err.find("bytes too many"), std::string::npos) << tooLong.err;
    EXPECT_EQ(tooLong.err.find("apply again"), std::string::npos) << tooLong.err;
}

// A keyboard that refused its default key map when it arrived (the fifth
// row, three times) has it read again before key maps are written: the
// built-in map knows only part of the keys, and a key left at its default
// would have been written as no key at all, in every profile.
TEST_F(KeyCommandsTest, TheDefaultMapIsReadAgainBeforeKeyMapsAreWritten)
{
    const Block before[3] = {KeyMap(0), KeyMap(1), KeyMap(2)};
    ASSERT_EQ(kb.QlSimRunFaults("ok:4,status=0xFE:3"), 1);
    const auto added = Run({"macro", "add", "Copy", "LeftCtrl:down:0", "C:down:50", "C:up:0", "LeftCtrl:up"});
    kb.QlSimRunFaults("");
    EXPECT_EQ(added.exitCode, 0) << added.err;
    for (int profile = 0; profile < 3; ++profile)
        EXPECT_EQ(KeyMap(profile), before[profile]) << "profile " << profile + 1;
}

// The same refusal during the read itself, once the user has assigned a key
// the built-in map does not know (right Shift): read again at once, the map
// decodes every key, and the command writes the assignment back as it was.
// A map refused again when read once more (the 41st request) leaves the key out of what was read, so
// nothing may be written (it would reset that key), and a backup would lack it.
TEST_F(KeyCommandsTest, AKeyTheBuiltInMapDoesNotKnowSurvivesARefusedDefaultMap)
{
    ASSERT_EQ(Run({"key", "set", "--profile", "3", "RightShift", "key:LeftCtrl"}).exitCode, 0);
    const Block before[3] = {KeyMap(0), KeyMap(1), KeyMap(2)};
    struct Case {
        const char* faults;
        const char* macro;
        bool done;
    };
    for (const Case c :
         {Case{"ok:3,status=0xFE:3", "Copy", true}, Case{"ok:3,status=0xFE:3,ok:34,status=0xFE:3", "Paste", false}}) {
        SCOPED_TRACE(c.faults);
        ASSERT_EQ(kb.QlSimRunFaults(c.faults), 1);
        const auto added = Run({"macro", "add", c.macro, "LeftCtrl:down:0", "C:down:50", "C:up:0", "LeftCtrl:up"});
        kb.QlSimRunFaults("");
        EXPECT_EQ(added.exitCode == 0, c.done) << added.err;
        if (!c.done) {
            EXPECT_NE(added.err.find("default key map could not be read, so nothing was written"), std::string::npos)
                << added.err;
        }
        for (int profile = 0; profile < 3; ++profile)
            EXPECT_EQ(KeyMap(profile), before[profile]) << "profile " << profile + 1;
    }
    ASSERT_EQ(kb.QlSimRunFaults("ok:3,status=0xFE:3,ok:34,status=0xFE:3"), 1);
    const std::string backupPath = userFolder.File("lossy.tvl");
    const auto backup = Run({"backup", backupPath});
    kb.QlSimRunFaults("");
    EXPECT_NE(backup.exitCode, 0);
    EXPECT_NE(backup.err.find("a backup would lack key assignments"), std::string::npos) << backup.err;
    EXPECT_FALSE(std::filesystem::exists(backupPath));
}

}  // namespace
}  // namespace trevolin::test
