#include "cli/CliTestSupport.h"
#include "cli/ExitCode.h"
#include "core/base/Environment.h"
#include "core/base/IniFile.h"
#include "core/base/Locations.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <array>
#include <filesystem>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace trevolin::test {
namespace {

// One report as the keyboard received it.
struct Received {
    uint8_t command = 0;
    uint16_t offset = 0;
    std::vector<uint8_t> data;
    std::array<uint8_t, 64> raw{};
};

// A write the keyboard should receive: command, offset, data.
struct Write {
    uint8_t command;
    uint16_t offset;
    std::vector<uint8_t> data;
};

bool IsWrite(uint8_t command)
{
    return command == 4 || command == 6 || command == 8 || command == 10 || command == 17;
}

constexpr uint8_t FactoryRecord[8] = {0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};

class LightCommandTest : public CliTest {
protected:
    // Runs trevolinctl with a fresh report log.
    CliRun RunLogged(std::vector<std::string> args)
    {
        EXPECT_EQ(kb.QlSimLogClear(), 1);
        auto run = Run(std::move(args));
        EXPECT_TRUE(kb.waitIdle());
        return run;
    }

    std::vector<Received> Log()
    {
        std::vector<Received> log;
        const int32_t count = kb.QlSimLogCount();
        for (int32_t i = 0; i < count; ++i) {
            Received r;
            EXPECT_EQ(kb.QlSimLogGet(static_cast<uint32_t>(i), r.raw.data()), 1);
            r.command = r.raw[3];
            r.offset = static_cast<uint16_t>(r.raw[5] | (r.raw[6] << 8));
            if (IsWrite(r.command))
                r.data.assign(r.raw.begin() + 8, r.raw.begin() + 8 + std::min<int>(r.raw[4], 56));
            log.push_back(r);
        }
        return log;
    }

    // Every write, each checked to sit between command 1 and command 2.
    std::vector<Write> Writes()
    {
        const auto log = Log();
        std::vector<Write> writes;
        for (size_t i = 0; i < log.size(); ++i) {
            if (!IsWrite(log[i].command))
                continue;
            writes.push_back({log[i].command, log[i].offset, log[i].data});
            size_t begin = i;
            while (begin > 0 && IsWrite(log[begin - 1].command))
                --begin;
            size_t end = i;
            while (end + 1 < log.size() && IsWrite(log[end + 1].command))
                ++end;
            EXPECT_TRUE(begin > 0 && log[begin - 1].command == 1) << "write " << i << " not after command 1";
            EXPECT_TRUE(end + 1 < log.size() && log[end + 1].command == 2) << "write " << i << " not before command 2";
        }
        return writes;
    }

    void SetActiveProfile(uint8_t profile) { ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_INFO, 10, &profile, 1), 1); }

    void SetRecordBytes(int profile, size_t field, std::vector<uint8_t> bytes)
    {
        ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_LIGHTING, static_cast<uint32_t>(42 * profile + field), bytes.data(),
                                    static_cast<uint32_t>(bytes.size())),
                  1);
    }

    std::array<uint8_t, 42> Record(int profile)
    {
        std::array<uint8_t, 42> record{};
        EXPECT_EQ(kb.QlSimReadArea(QL_SIM_AREA_LIGHTING, static_cast<uint32_t>(42 * profile), record.data(), 42), 1);
        return record;
    }

    std::array<uint8_t, 3> KeyColour(int profile, int light)
    {
        std::array<uint8_t, 3> rgb{};
        EXPECT_EQ(
            kb.QlSimReadArea(QL_SIM_AREA_KEY_COLORS, static_cast<uint32_t>(512 * profile + 3 * light), rgb.data(), 3),
            1);
        return rgb;
    }

    void SetKeyColour(int profile, int light, std::array<uint8_t, 3> rgb)
    {
        ASSERT_EQ(
            kb.QlSimWriteArea(QL_SIM_AREA_KEY_COLORS, static_cast<uint32_t>(512 * profile + 3 * light), rgb.data(), 3),
            1);
    }

    std::string ModeFile(int profile) const
    {
        return userFolder.File("UserDengColor_" + std::to_string(profile) + ".userd");
    }

    std::string ModeValue(int profile, const std::string& section, const std::string& key) const
    {
        return base::IniFile(ModeFile(profile)).ReadString(section, key, "(missing)");
    }
};

TEST_F(LightCommandTest, ShowsTheActiveProfilesLightingAsTheKeyboardHoldsIt)
{
    SetActiveProfile(1);
    // effect 3, brightness 2, speed 1 (slider 3), left, multicolour off, colour 10,20,30
    SetRecordBytes(1, 0, {3, 2, 1, 255, 0, 10, 20, 30});
    SetRecordBytes(1, 15, {2});
    SetRecordBytes(1, 18, {1});

    const auto json = RunLogged({"light", "--json"});
    ASSERT_EQ(json.exitCode, cli::ExitOk) << json.err;
    EXPECT_TRUE(Writes().empty());
    const auto j = nlohmann::json::parse(json.out);
    EXPECT_EQ(j["profile"], 1);
    EXPECT_EQ(j["profileNumber"], 2);
    EXPECT_EQ(j["effect"]["number"], 3);
    EXPECT_NE(j["effect"]["name"], "#Error");
    EXPECT_EQ(j["brightness"], 2);
    EXPECT_EQ(j["speed"], 3);
    EXPECT_EQ(j["direction"], "left");
    EXPECT_EQ(j["multicolour"], false);
    EXPECT_EQ(j["colour"], "#0a141e");
    EXPECT_EQ(j["colourChoice"], 1);
    EXPECT_EQ(j["reportRate"], 2);
    EXPECT_EQ(j["controls"], nlohmann::json({"brightness", "speed", "direction", "colour", "multicolour"}));
    EXPECT_EQ(j["effects"].size(), 19u);
    EXPECT_EQ(j["perKey"]["userMode"], 0);
    EXPECT_FALSE(j["perKey"].contains("keys")) << "key colours only in the per-key effect";

    const auto text = RunLogged({"light", "show"});
    ASSERT_EQ(text.exitCode, cli::ExitOk) << text.err;
    EXPECT_TRUE(Writes().empty());
    for (const char* line :
         {"Profile            2\n", "Brightness         2\n", "Speed              3\n", "Direction          left\n",
          "Multicolour        off\n", "Colour             10,20,30 (#0a141e)\n", "Report rate        2\n"})
        EXPECT_NE(text.out.find(line), std::string::npos) << line << " in\n" << text.out;
    EXPECT_NE(text.out.find("Colour choice      1 (yellow)   (not used by this effect)"), std::string::npos);

    // In the per-key effect the keys' colours are the keyboard's.
    SetRecordBytes(1, 0, {20});
    SetKeyColour(1, 52, {1, 2, 3});  // A
    const auto perKey = RunLogged({"light", "show", "--json"});
    ASSERT_EQ(perKey.exitCode, cli::ExitOk) << perKey.err;
    EXPECT_TRUE(Writes().empty());
    const auto keys = nlohmann::json::parse(perKey.out)["perKey"]["keys"];
    EXPECT_EQ(keys["A"], "#010203");
    EXPECT_EQ(keys["Esc"], "#ffffff");
    EXPECT_EQ(keys["G9"], "#ffffff");
    EXPECT_FALSE(keys.contains("Pause")) << "a key without a light has no colour";
}

TEST_F(LightCommandTest, EachSettingWritesTheBytesTheWindowWrites)
{
    SetActiveProfile(2);  // record at 84
    struct Case {
        std::vector<std::string> args;
        std::vector<Write> writes;
    };
    const Case cases[] = {
        {{"brightness", "3"}, {{6, 85, {3}}}},
        {{"brightness", "0"}, {{6, 85, {0}}}},
        {{"speed", "4"}, {{6, 86, {0}}}},
        {{"speed", "0"}, {{6, 86, {4}}}},
        {{"direction", "left"}, {{6, 87, {255}}}},
        {{"direction", "LEFT"}, {{6, 87, {255}}}},
        {{"colour", "1,2,3"}, {{6, 88, {0}}, {6, 89, {1, 2, 3}}}},
        {{"color", "#0A0b0c"}, {{6, 88, {0}}, {6, 89, {10, 11, 12}}}},
        // The colour is white already, but multicolour is on: it goes off.
        {{"colour", " 255, 255 ,255"}, {{6, 88, {0}}, {6, 89, {255, 255, 255}}}},
        {{"multicolour", "off"}, {{6, 88, {0}}}},
        {{"colour-choice", "blue"}, {{6, 102, {3}}}},
        {{"colour-choice", "2"}, {{6, 102, {2}}}},
        {{"report-rate", "3"}, {{6, 99, {3}}}},
        {{"preset", "0"}, {{6, 88, {0}}, {6, 89, {235, 99, 30}}}},
        {{"preset", "7"}, {{6, 88, {0}}, {6, 89, {174, 0, 255}}}},
        {{"effect", "5"}, {{6, 84, {5}}, {6, 88, {1}}}},
        {{"effect", "flash-wave"}, {{6, 84, {2}}, {6, 88, {1}}}},
        {{"effect", "Color Cycle"}, {{6, 84, {4}}}},
        {{"effect", "20"}, {{6, 84, {20}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        ASSERT_EQ(kb.QlSimReset(), 1);
        ASSERT_TRUE(kb.waitIdle());
        SetActiveProfile(2);
        std::vector<std::string> args{"light"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto run = RunLogged(args);
        ASSERT_EQ(run.exitCode, cli::ExitOk) << run.err;
        const auto writes = Writes();
        ASSERT_EQ(writes.size(), c.writes.size());
        auto expected = Record(0);  // profile 0 is untouched: the factory record
        for (size_t i = 0; i < writes.size(); ++i) {
            EXPECT_EQ(writes[i].command, c.writes[i].command) << i;
            EXPECT_EQ(writes[i].offset, c.writes[i].offset) << i;
            EXPECT_EQ(writes[i].data, c.writes[i].data) << i;
            std::copy(c.writes[i].data.begin(), c.writes[i].data.end(), expected.begin() + (c.writes[i].offset - 84));
        }
        EXPECT_EQ(Record(2), expected) << "the keyboard holds the new values, and nothing else changed";
    }
}

// Each effect has its own pair of directions; the word typed is the one
// written and reported, and a word the effect does not have is refused with
// the ones it has.
TEST_F(LightCommandTest, DirectionsAreTheCurrentEffectsOwn)
{
    struct Case {
        uint8_t effect;
        uint8_t held;  // the record's direction before
        const char* word;
        int exitCode;
        uint8_t after;
        const char* said;  // part of stdout, or of stderr when refused
    };
    const Case cases[] = {
        {1, 0, "left", cli::ExitOk, 255, "Direction left."},
        {12, 0, "up", cli::ExitOk, 255, "Direction up."},
        {12, 255, "Down", cli::ExitOk, 0, "Direction down."},
        {12, 0, "down", cli::ExitOk, 0, "Direction is down already; nothing sent."},
        {18, 255, "converge", cli::ExitOk, 0, "Direction converge."},
        {12, 0, "left", cli::ExitUsage, 0, "effect 12 (Vertical wave) goes up or down, not \"left\""},
        {1, 0, "diffuse", cli::ExitUsage, 0, "effect 1 (Wave) goes left or right, not \"diffuse\""},
        {7, 0, "up", cli::ExitUsage, 0, "effect 7 (Onboard pattern A) has no direction"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.effect) + " " + c.word);
        ASSERT_EQ(kb.QlSimReset(), 1);
        ASSERT_TRUE(kb.waitIdle());
        SetRecordBytes(0, 0, {c.effect});
        SetRecordBytes(0, 3, {c.held});
        const auto run = RunLogged({"light", "direction", c.word});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_NE((c.exitCode == cli::ExitOk ? run.out : run.err).find(c.said), std::string::npos)
            << run.out << run.err;
        EXPECT_EQ(Record(0)[3], c.after);
        if (c.exitCode != cli::ExitOk || c.after == c.held) {
            EXPECT_TRUE(Writes().empty());
        }
    }
}

// Effects the language file does not name still have a name, in the list
// and in every message.
TEST_F(LightCommandTest, EveryEffectHasAName)
{
    const auto json = nlohmann::json::parse(RunLogged({"light", "--json"}).out);
    ASSERT_EQ(json["effects"].size(), 19u);
    for (const auto& effect : json["effects"]) {
        const std::string name = effect["name"];
        EXPECT_NE(name, "#Error");
        EXPECT_EQ(name.find("Effect "), std::string::npos) << name;
    }
    const auto chosen = RunLogged({"light", "effect", "onboard pattern b"});
    ASSERT_EQ(chosen.exitCode, cli::ExitOk) << chosen.err;
    EXPECT_EQ(chosen.out, "Effect 8 (Onboard pattern B).\n");
    EXPECT_EQ(Record(0)[0], 8);
}

TEST_F(LightCommandTest, AValueTheKeyboardAlreadyHoldsIsNotSentAgain)
{
    const std::vector<std::vector<std::string>> factoryValues = {
        {"brightness", "4"}, {"speed", "2"},     {"direction", "right"},   {"multicolour", "on"},
        {"effect", "1"},     {"effect", "wave"}, {"colour-choice", "red"}, {"report-rate", "0"},
    };
    for (const auto& args : factoryValues) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const auto run = RunLogged({"light", args[0], args[1]});
        EXPECT_EQ(run.exitCode, cli::ExitOk) << run.err;
        EXPECT_NE(run.out.find("nothing sent"), std::string::npos) << run.out;
        EXPECT_TRUE(Writes().empty());
    }
    // A single colour that is shown already, and so the preset of that colour.
    SetRecordBytes(0, 4, {0, 255, 0, 0});
    for (const auto& args : {std::vector<std::string>{"colour", "#ff0000"}, {"preset", "1"}}) {
        SCOPED_TRACE(args[0]);
        const auto run = RunLogged({"light", args[0], args[1]});
        EXPECT_EQ(run.exitCode, cli::ExitOk) << run.err;
        EXPECT_TRUE(Writes().empty());
    }
    EXPECT_EQ(Record(0)[4], 0);
}

TEST_F(LightCommandTest, BadArgumentsAreRefusedWithTheUsageCodeAndNothingIsWritten)
{
    struct Case {
        std::vector<std::string> args;
        const char* said;    // part of the sentence on stderr
        bool needsKeyboard;  // checked against what the keyboard offers or holds
    };
    const Case cases[] = {
        {{"brightness", "5"}, "is not a brightness from 0 to 4", false},
        {{"brightness", "x"}, "is not a brightness from 0 to 4", false},
        {{"brightness", ""}, "is not a brightness from 0 to 4", false},
        {{"speed", "-1"}, "is not a speed from 0 to 4", false},
        {{"speed", "2.5"}, "is not a speed from 0 to 4", false},
        {{"direction", "sideways"}, "left, right, up, down, diffuse or converge", false},
        {{"colour", "256,0,0"}, "R,G,B with each number from 0 to 255", false},
        {{"colour", "1,2"}, "R,G,B", false},
        {{"colour", "1,2,3,4"}, "R,G,B", false},
        {{"colour", "1,,3"}, "R,G,B", false},
        {{"colour", "#12345"}, "#rrggbb", false},
        {{"colour", "#gg0000"}, "#rrggbb", false},
        {{"multicolour", "maybe"}, "is not on or off", false},
        {{"colour-choice", "purple"}, "0 red, 1 yellow, 2 green or 3 blue", false},
        {{"colour-choice", "4"}, "0 red, 1 yellow, 2 green or 3 blue", false},
        {{"report-rate", "4"}, "is not a report rate from 0 to 3", false},
        {{"preset", "8"}, "is not a preset from 0 to 7", false},
        {{"base-colour", "reddish"}, "or a name: orange, red, blue", false},
        {{"paint", "Foo", "1,2,3"}, "the key names are Esc, F1,", false},
        {{"paint", "Pause", "1,2,3"}, "Pause has no light of its own", false},
        {{"paint", "A"}, "brush 0 paints with a colour", false},
        {{"paint", "A", "1,2,3", "--tool", "1"}, "takes no colour of its own", false},
        {{"paint", "A", "1,2,3", "--tool", "2"}, "0 (the paint colour) or 1 (the base colour)", false},
        {{"paint", "A", "1,2"}, "R,G,B", false},
        {{"mode", "10"}, "is not a user mode from 0 to 9", false},
        {{"mode", "--rename", ""}, "one line of 1 to 260 characters", false},
        {{"mode", "--rename", "two\nlines"}, "one line of 1 to 260 characters", false},
        {{"mode", "--rename", std::string(261, 'x')}, "one line of 1 to 260 characters", false},
        {{"brightness"}, "", false},
        {{"glow"}, "", false},
        {{"effect", "99"}, "does not offer effect 99", true},
        {{"effect", "19"}, "does not offer effect 19", true},
        {{"effect", "sunrise"}, "the number or name of an effect the keyboard offers: 1 (", true},
        {{"paint", "A", "1,2,3"}, "Choose it first with 'trevolinctl light effect 20'", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
        std::vector<std::string> args{"light"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto run = RunLogged(args);
        EXPECT_EQ(run.exitCode, cli::ExitUsage) << run.out << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        if (c.needsKeyboard)
            EXPECT_TRUE(Writes().empty());
        else
            EXPECT_EQ(kb.QlSimLogCount(), 0) << "refused before the keyboard was opened";
    }
    EXPECT_EQ(Record(0)[0], 1);
}

TEST_F(LightCommandTest, ColoursAreTakenByNameAndAsShortHex)
{
    struct Case {
        std::vector<std::string> args;
        std::vector<uint8_t> rgb;
    };
    const Case cases[] = {
        {{"colour", "purple"}, {174, 0, 255}},
        {{"colour", "#f80"}, {255, 136, 0}},
        {{"colour", "White"}, {255, 255, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1]);
        std::vector<std::string> args{"light"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto run = RunLogged(args);
        ASSERT_EQ(run.exitCode, cli::ExitOk) << run.err;
        const auto record = Record(0);
        EXPECT_EQ(std::vector<uint8_t>(record.begin() + 5, record.begin() + 8), c.rgb);
    }
    SetRecordBytes(0, 0, {20});
    const auto paint = RunLogged({"light", "paint", "Esc", "green"});
    ASSERT_EQ(paint.exitCode, cli::ExitOk) << paint.err;
    EXPECT_EQ(KeyColour(0, 0), (std::array<uint8_t, 3>{90, 255, 0}));
}

// The keyboard addresses every profile's record and colour page by offset,
// so another profile's lighting is changed without making it the active one.
TEST_F(LightCommandTest, AnotherProfilesLightingIsChangedWithoutSwitchingToIt)
{
    const auto brightness = RunLogged({"light", "--profile", "2", "brightness", "2"});
    ASSERT_EQ(brightness.exitCode, cli::ExitOk) << brightness.err;
    EXPECT_NE(brightness.out.find("Profile 2 is not the active profile"), std::string::npos) << brightness.out;
    auto writes = Writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].command, 6);
    EXPECT_EQ(writes[0].offset, 42 + 1);
    EXPECT_EQ(Record(1)[1], 2);
    EXPECT_EQ(Record(0)[1], 4);

    SetRecordBytes(2, 0, {20});
    const auto paint = RunLogged({"light", "paint", "A", "red", "--profile", "3"});
    ASSERT_EQ(paint.exitCode, cli::ExitOk) << paint.err;
    writes = Writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].command, 17);
    EXPECT_EQ(writes[0].offset, 2 * 512 + 3 * 52);
    EXPECT_EQ(KeyColour(2, 52), (std::array<uint8_t, 3>{255, 0, 0}));
    EXPECT_EQ(KeyColour(0, 52), (std::array<uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(ModeValue(2, "Mode0", "52"), "255,0,0,0");
    EXPECT_EQ(ModeValue(0, "Mode0", "52"), "255,255,255,1");
    for (const Received& r : Log())
        EXPECT_NE(r.command, 4) << "the active profile is not changed";
    uint8_t active = 9;
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_INFO, 10, &active, 1), 1);
    EXPECT_EQ(active, 0);

    const auto shown = RunLogged({"light", "--json", "--profile", "3"});
    ASSERT_EQ(shown.exitCode, cli::ExitOk) << shown.err;
    const auto j = nlohmann::json::parse(shown.out);
    EXPECT_EQ(j["profile"], 2);
    EXPECT_EQ(j["profileNumber"], 3);
    EXPECT_EQ(j["perKey"]["keys"]["A"], "#ff0000");

    const auto active0 = RunLogged({"light", "--profile", "1", "brightness", "3"});
    ASSERT_EQ(active0.exitCode, cli::ExitOk) << active0.err;
    EXPECT_EQ(active0.out.find("not the active profile"), std::string::npos);

    for (const char* bad : {"0", "4", "-1", "x"}) {
        const auto refused = RunLogged({"light", "--profile", bad, "brightness", "2"});
        EXPECT_EQ(refused.exitCode, cli::ExitUsage) << bad;
        EXPECT_EQ(kb.QlSimLogCount(), 0);
    }
}

TEST_F(LightCommandTest, AnEffectTheProgramDoesNotKnowIsNotChosen)
{
    const uint8_t effects[] = {1, 19, 20};
    ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_INFO, 12, effects, sizeof effects), 1);
    const auto run = RunLogged({"light", "effect", "19"});
    EXPECT_EQ(run.exitCode, cli::ExitUsage);
    EXPECT_NE(run.err.find("does not know its settings"), std::string::npos) << run.err;
    EXPECT_TRUE(Writes().empty());
}

TEST_F(LightCommandTest, PaintingWritesTheKeysColourAtItsLight)
{
    SetActiveProfile(1);
    SetRecordBytes(1, 0, {20});
    struct Case {
        const char* key;
        int light;
    };
    const Case cases[] = {{"F1", 2},   {"print", 100},     {"NumEnter", 104}, {"fn", 96},
                          {"G5", 125}, {"RightShift", 80}, {"Esc", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const auto run = RunLogged({"light", "paint", c.key, "10,20,30"});
        ASSERT_EQ(run.exitCode, cli::ExitOk) << run.err;
        const auto writes = Writes();
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_EQ(writes[0].command, 17);
        EXPECT_EQ(writes[0].offset, 512 + 3 * c.light);
        EXPECT_EQ(writes[0].data, (std::vector<uint8_t>{10, 20, 30}));
        EXPECT_EQ(KeyColour(1, c.light), (std::array<uint8_t, 3>{10, 20, 30}));
        EXPECT_EQ(ModeValue(1, "Mode0", std::to_string(c.light)), "10,20,30,0");
    }
    // Light 100 on profile 1: 512 + 300 = 0x032C.
    RunLogged({"light", "paint", "Print", "1,1,1"});
    const auto log = Log();
    const auto paint = std::find_if(log.begin(), log.end(), [](const Received& r) { return r.command == 17; });
    ASSERT_NE(paint, log.end());
    EXPECT_EQ(paint->raw[4], 3);
    EXPECT_EQ(paint->raw[5], 0x2C);
    EXPECT_EQ(paint->raw[6], 0x03);
    EXPECT_EQ(ModeValue(1, "Mode0", "color"), "1,1,1") << "the colour became the paint colour";

    // The keyboard shows it already: nothing is sent.
    const auto again = RunLogged({"light", "paint", "print", "#010101"});
    EXPECT_EQ(again.exitCode, cli::ExitOk) << again.err;
    EXPECT_NE(again.out.find("nothing sent"), std::string::npos);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(KeyColour(0, 100), (std::array<uint8_t, 3>{255, 255, 255})) << "other profiles' pages untouched";
}

TEST_F(LightCommandTest, TheBaseColourBrushMakesAKeyFollowTheBaseColour)
{
    // No key follows the base colour yet (the template's keys all do).
    userFolder.Write("UserDengColor_0.userd", "");
    SetRecordBytes(0, 0, {20});
    ASSERT_EQ(RunLogged({"light", "base-colour", "0,0,255"}).exitCode, cli::ExitOk);
    EXPECT_EQ(ModeValue(0, "Mode0", "jcolor"), "0,0,255");

    const auto paint = RunLogged({"light", "paint", "A", "--tool", "1"});
    ASSERT_EQ(paint.exitCode, cli::ExitOk) << paint.err;
    const auto writes = Writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].offset, 3 * 52);
    EXPECT_EQ(writes[0].data, (std::vector<uint8_t>{0, 0, 255}));
    EXPECT_EQ(ModeValue(0, "Mode0", "52"), "0,0,255,1");
    EXPECT_EQ(ModeValue(0, "Mode0", "tool"), "1");

    // A new base colour reaches A, which follows it, and no other key.
    ASSERT_EQ(RunLogged({"light", "base-colour", "0,255,0"}).exitCode, cli::ExitOk);
    const auto page = Writes();
    ASSERT_EQ(page.size(), 8u);
    for (size_t run = 0; run < page.size(); ++run) {
        EXPECT_EQ(page[run].command, 17);
        EXPECT_EQ(page[run].offset, 54 * run);
        EXPECT_EQ(page[run].data.size(), 54u);
    }
    EXPECT_EQ(KeyColour(0, 52), (std::array<uint8_t, 3>{0, 255, 0}));
    EXPECT_EQ(KeyColour(0, 53), (std::array<uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(ModeValue(0, "Mode0", "52"), "0,255,0,1");

    const auto same = RunLogged({"light", "base-colour", "#00ff00"});
    EXPECT_EQ(same.exitCode, cli::ExitOk);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(LightCommandTest, APageFileSetsTheNamedKeysAndWritesTheWholePage)
{
    SetActiveProfile(1);
    SetRecordBytes(1, 0, {20});
    const std::string file = userFolder.Write("page.txt", "\xEF\xBB\xBF# the arrows in red\r\n"
                                                          "*      blue   # every key first\n"
                                                          "  Up   255,0,0\t# then the arrows\n"
                                                          "left\t#FF0000 #red too\n"
                                                          "\n"
                                                          "g3 1, 2, 3");
    const auto run = RunLogged({"light", "page", file});
    ASSERT_EQ(run.exitCode, cli::ExitOk) << run.err;
    const auto writes = Writes();
    ASSERT_EQ(writes.size(), 8u);
    for (size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].command, 17);
        EXPECT_EQ(writes[i].offset, 512 + 54 * i);
        EXPECT_EQ(writes[i].data.size(), 54u);
    }
    using Rgb = std::array<uint8_t, 3>;
    EXPECT_EQ(KeyColour(1, 0), (Rgb{0, 126, 255}));   // Esc
    EXPECT_EQ(KeyColour(1, 96), (Rgb{0, 126, 255}));  // Fn
    EXPECT_EQ(KeyColour(1, 81), (Rgb{255, 0, 0}));    // Up
    EXPECT_EQ(KeyColour(1, 97), (Rgb{255, 0, 0}));    // Left
    EXPECT_EQ(KeyColour(1, 125), (Rgb{1, 2, 3}));     // the G keys
    EXPECT_EQ(KeyColour(1, 1), (Rgb{255, 255, 255}))  // no key: as it was
        << "positions without a key keep what the keyboard showed";
    EXPECT_EQ(KeyColour(0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(ModeValue(1, "Mode0", "81"), "255,0,0,0");
    EXPECT_EQ(ModeValue(1, "Mode0", "0"), "0,126,255,0");

    // The page printed back reads as the same page, which is not sent again.
    const auto printed = RunLogged({"light", "page"});
    ASSERT_EQ(printed.exitCode, cli::ExitOk) << printed.err;
    EXPECT_TRUE(Writes().empty());
    EXPECT_NE(printed.out.find("Up           255,0,0\n"), std::string::npos) << printed.out;
    EXPECT_NE(printed.out.find("G9           1,2,3\n"), std::string::npos);
    EXPECT_EQ(printed.out.find("Pause"), std::string::npos);
    const auto again = RunLogged({"light", "page", userFolder.Write("printed.txt", printed.out)});
    EXPECT_EQ(again.exitCode, cli::ExitOk) << again.err;
    EXPECT_NE(again.out.find("nothing sent"), std::string::npos);
    EXPECT_TRUE(Writes().empty());

    // Keys the file does not name keep what the keyboard shows.
    SetKeyColour(1, 52, {7, 7, 7});  // A
    ASSERT_EQ(RunLogged({"light", "page", userFolder.Write("one.txt", "Esc 9,9,9\n")}).exitCode, cli::ExitOk);
    EXPECT_EQ(KeyColour(1, 52), (Rgb{7, 7, 7}));
    EXPECT_EQ(KeyColour(1, 0), (Rgb{9, 9, 9}));
    EXPECT_EQ(KeyColour(1, 81), (Rgb{255, 0, 0}));
}

TEST_F(LightCommandTest, APageFileThatCannotBeUsedChangesNothing)
{
    SetRecordBytes(0, 0, {20});
    struct Case {
        const char* content;
        const char* said;
    };
    const Case cases[] = {
        {"Esc 1,2,3\nA 1,2,3\nFoo 1,2,3\n", "line 3: \"Foo\" is not a key name; the key names are Esc"},
        {"Esc\n", "line 1: a key name and a colour are expected"},
        {"Esc 1,2,300\n", "line 1: \"1,2,300\" is not a colour"},
        {"# fine\nPause 1,2,3\n", "line 2: Pause has no light of its own"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        const auto run = RunLogged({"light", "page", userFolder.Write("bad.txt", c.content)});
        EXPECT_EQ(run.exitCode, cli::ExitUsage);
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_EQ(kb.QlSimLogCount(), 0);
    }
    for (const std::string& unreadable : {userFolder.File("missing.txt"), std::string("/dev/null")}) {
        const auto run = RunLogged({"light", "page", unreadable});
        EXPECT_EQ(run.exitCode, cli::ExitFileError);
        EXPECT_NE(run.err.find(unreadable), std::string::npos);
    }

    const auto huge = RunLogged({"light", "page", userFolder.Write("huge.txt", std::string(300 * 1024, '#'))});
    EXPECT_EQ(huge.exitCode, cli::ExitUsage);
    EXPECT_FALSE(std::filesystem::exists(ModeFile(0)));
}

TEST_F(LightCommandTest, RestoreDefaultsWritesTheDefaultRecordAndTheTemplatesPage)
{
    SetActiveProfile(1);
    std::vector<uint8_t> changed(42, 0x33);
    changed[0] = 20;
    SetRecordBytes(1, 0, changed);
    userFolder.Write("UserDengColor_1.userd", "[Mode0]\n0=1,2,3,0\n");

    const auto run = RunLogged({"light", "restore-defaults"});
    ASSERT_EQ(run.exitCode, cli::ExitOk) << run.err;
    const auto writes = Writes();
    ASSERT_EQ(writes.size(), 11u);
    // Effect 1 with its multicolour flag, the page of the template's user
    // mode, then the 35 bytes of the defaults.
    EXPECT_EQ(writes[0].offset, 42);
    EXPECT_EQ(writes[0].data, std::vector<uint8_t>{1});
    EXPECT_EQ(writes[1].offset, 46);
    EXPECT_EQ(writes[1].data, std::vector<uint8_t>{1});
    for (size_t i = 2; i < 10; ++i) {
        EXPECT_EQ(writes[i].command, 17);
        EXPECT_EQ(writes[i].offset, 512 + 54 * (i - 2));
    }
    std::vector<uint8_t> defaults(35, 0);
    std::copy(std::begin(FactoryRecord), std::end(FactoryRecord), defaults.begin());
    EXPECT_EQ(writes[10].command, 6);
    EXPECT_EQ(writes[10].offset, 42);
    EXPECT_EQ(writes[10].data, defaults);

    const auto record = Record(1);
    EXPECT_TRUE(std::equal(defaults.begin(), defaults.end(), record.begin()));
    EXPECT_EQ(record[35], 0x33) << "bytes past the defaults are the keyboard's";

    const auto locations = base::Locations::ForThisProcess(base::Environment::System());
    ASSERT_TRUE(locations);
    const std::string templateText = TempDir::Read(locations->FactoryLightingPrefix() + "3.userd");
    ASSERT_FALSE(templateText.empty());
    EXPECT_EQ(TempDir::Read(ModeFile(1)), templateText);
}

TEST_F(LightCommandTest, UserModesAreListedChosenWithTheirColoursAndRenamed)
{
    const auto listed = RunLogged({"light", "mode"});
    ASSERT_EQ(listed.exitCode, cli::ExitOk) << listed.err;
    EXPECT_NE(listed.out.find("* 0  User 1\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("  9  User 10\n"), std::string::npos);

    const auto chosen = RunLogged({"light", "mode", "3", "--rename", "Night sky"});
    ASSERT_EQ(chosen.exitCode, cli::ExitOk) << chosen.err;
    // The mode's key colours, the whole page in eight runs, and nothing else.
    const auto writes = Writes();
    ASSERT_EQ(writes.size(), 8u);
    for (const auto& write : writes)
        EXPECT_EQ(write.command, 17);
    EXPECT_EQ(ModeValue(0, "PRESENTMODE", "mode"), "3");
    EXPECT_EQ(ModeValue(0, "MODENAME", "3"), "Night sky");
    EXPECT_EQ(ModeValue(0, "MODENAME", "0"), "User 1");

    const auto json = nlohmann::json::parse(RunLogged({"light", "--json"}).out);
    EXPECT_EQ(json["perKey"]["userMode"], 3);
    EXPECT_EQ(json["perKey"]["userModeNames"][3], "Night sky");

    const auto renamed = RunLogged({"light", "mode", "--rename", "Dawn"});
    ASSERT_EQ(renamed.exitCode, cli::ExitOk) << renamed.err;
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(ModeValue(0, "MODENAME", "3"), "Dawn");

    // A name edited by hand into bytes that are not UTF-8 still gives JSON.
    userFolder.Write("UserDengColor_0.userd", "[MODENAME]\n0=Caf\xE9\n");
    const auto odd = RunLogged({"light", "--json"});
    ASSERT_EQ(odd.exitCode, cli::ExitOk) << odd.err;
    EXPECT_EQ(nlohmann::json::parse(odd.out)["perKey"]["userModeNames"][0], "Caf\uFFFD");
}

// Whichever command comes first creates the user folder with the template in
// all three mode files.
TEST_F(LightCommandTest, AFreshUserFolderStartsFromTheTemplateWhicheverCommandComesFirst)
{
    const auto locations = base::Locations::ForThisProcess(base::Environment::System());
    ASSERT_TRUE(locations);
    const std::string templateText = TempDir::Read(locations->LightingTemplateFile());
    ASSERT_NE(templateText.find("9=User 10"), std::string::npos);

    const std::string folder = userFolder.File("home/.local/share/Dravik-RGB_01");
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--simulate", "--user-folder", folder});
        return RunRaw(args);
    };
    ASSERT_EQ(run({"light", "effect", "20"}).exitCode, cli::ExitOk);
    const auto paint = run({"light", "paint", "A", "1,2,3"});
    ASSERT_EQ(paint.exitCode, cli::ExitOk) << paint.err;

    for (int profile = 0; profile < 3; ++profile) {
        SCOPED_TRACE(profile);
        const base::IniFile file(folder + "/UserDengColor_" + std::to_string(profile) + ".userd");
        for (int mode = 0; mode < 10; ++mode)
            EXPECT_EQ(file.ReadString("MODENAME", std::to_string(mode), ""), "User " + std::to_string(mode + 1));
        if (profile != 0) {
            EXPECT_EQ(TempDir::Read(file.Path()), templateText);
        }
    }
    const base::IniFile painted(folder + "/UserDengColor_0.userd");
    EXPECT_EQ(painted.ReadString("Mode0", "52", ""), "1,2,3,0");
    EXPECT_EQ(painted.ReadString("Mode0", "53", ""), "255,255,255,1") << "the template's other keys stay";
    const auto listed = run({"light", "mode"});
    EXPECT_NE(listed.out.find("* 0  User 1\n"), std::string::npos) << listed.out;
}

// The simulated keyboard's fault script (TREVOLIN_SIM_FAULTS) for one test,
// started by a reset, which also brings back the factory memory.
class SimFaults {
public:
    SimFaults(sim::SimKeyboardControl& kb, const std::string& script) : kb_(kb)
    {
        ::setenv("TREVOLIN_SIM_FAULTS", script.c_str(), 1);
        EXPECT_EQ(kb_.QlSimReset(), 1);
    }
    ~SimFaults()
    {
        ::unsetenv("TREVOLIN_SIM_FAULTS");
        kb_.QlSimReset();
    }
    SimFaults(const SimFaults&) = delete;
    SimFaults& operator=(const SimFaults&) = delete;

private:
    sim::SimKeyboardControl& kb_;
};

// The index of the first report with `command` in the log, that is how many
// requests the keyboard answered before it.
size_t RequestsBefore(const std::vector<Received>& log, uint8_t command)
{
    const auto found = std::find_if(log.begin(), log.end(), [&](const Received& r) { return r.command == command; });
    EXPECT_NE(found, log.end());
    return static_cast<size_t>(found - log.begin());
}

// The mode file takes a colour only after the keyboard has: a refused paint
// leaves it as it was, a page cut short by an unplug leaves in it what the
// keyboard shows.
TEST_F(LightCommandTest, TheModeFileSaysWhatTheKeyboardTookNotWhatItRefused)
{
    using Rgb = std::array<uint8_t, 3>;
    SetRecordBytes(0, 0, {20});
    ASSERT_EQ(RunLogged({"light", "paint", "A", "1,2,3"}).exitCode, cli::ExitOk);
    const size_t beforePaint = RequestsBefore(Log(), 17);
    ASSERT_EQ(RunLogged({"light", "page", userFolder.Write("all.txt", "* 1,2,3\n")}).exitCode, cli::ExitOk);
    const size_t beforePage = RequestsBefore(Log(), 17);
    const std::string page = userFolder.Write("page.txt", "* 4,5,6\n");

    {
        // Refused however often the program sends it again.
        SimFaults faults(kb, "ok:" + std::to_string(beforePaint) + ",status=0xFE:20");
        SetRecordBytes(0, 0, {20});
        ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_KEY_COLORS, 0, std::vector<uint8_t>(432, 1).data(), 432), 1);
        const std::string file = TempDir::Read(ModeFile(0));
        const auto refused = RunLogged({"light", "paint", "A", "9,9,9"});
        EXPECT_EQ(refused.exitCode, cli::ExitKeyboardError);
        EXPECT_NE(refused.err.find("cannot paint A"), std::string::npos) << refused.err;
        EXPECT_EQ(KeyColour(0, 52), (Rgb{1, 1, 1}));
        EXPECT_EQ(TempDir::Read(ModeFile(0)), file) << "neither the key nor the paint colour";
    }
    {
        SimFaults faults(kb, "leave-after=" + std::to_string(beforePage + 3));
        SetRecordBytes(0, 0, {20});
        ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_KEY_COLORS, 0, std::vector<uint8_t>(432, 1).data(), 432), 1);
        const auto cut = RunLogged({"light", "page", page});
        EXPECT_EQ(cut.exitCode, cli::ExitKeyboardError);
        EXPECT_NE(cut.err.find("cannot write the key colours"), std::string::npos) << cut.err;
        // Runs 0 to 2 (lights 0 to 53) reached the keyboard, the rest did not.
        EXPECT_EQ(KeyColour(0, 0), (Rgb{4, 5, 6}));
        EXPECT_EQ(KeyColour(0, 52), (Rgb{4, 5, 6}));
        EXPECT_EQ(KeyColour(0, 100), (Rgb{1, 1, 1}));
        EXPECT_EQ(ModeValue(0, "Mode0", "0"), "4,5,6,0");
        EXPECT_EQ(ModeValue(0, "Mode0", "52"), "4,5,6,0");
        EXPECT_EQ(ModeValue(0, "Mode0", "100"), "1,1,1,0");
        EXPECT_EQ(ModeValue(0, "Mode0", "125"), "1,1,1,0");
    }
}

TEST_F(LightCommandTest, AKeyboardThatRefusesOrLeavesGivesTheKeyboardErrorCode)
{
    kb.QlSimFailStatus(0xFE, 1000);
    const auto refused = RunLogged({"light", "brightness", "2"});
    kb.QlSimFailStatus(0xFE, 0);
    EXPECT_EQ(refused.exitCode, cli::ExitKeyboardError);
    EXPECT_NE(refused.err.find("refused"), std::string::npos) << refused.err;
    EXPECT_EQ(Record(0)[1], 4);

    // The keyboard answers everything up to the write's command 1, then
    // leaves the bus.
    ASSERT_EQ(RunLogged({"light"}).exitCode, cli::ExitOk);
    const int32_t beforeWrite = kb.QlSimLogCount();
    ASSERT_GT(beforeWrite, 0);
    ASSERT_EQ(kb.QlSimLeaveBusAfter(static_cast<uint32_t>(beforeWrite) + 1), 1);
    const auto left = RunLogged({"light", "brightness", "2"});
    EXPECT_EQ(left.exitCode, cli::ExitKeyboardError);
    EXPECT_NE(left.err.find("cannot set the brightness: "), std::string::npos) << left.err;
    EXPECT_EQ(Record(0)[1], 4);
}

// An effect is written field by field. When a later field is refused, the
// earlier ones are on the keyboard: the failure says what the keyboard
// holds, read back, instead of leaving the user to think nothing changed.
TEST_F(LightCommandTest, ARefusalAfterPartOfAChangeSaysWhatTheKeyboardHoldsNow)
{
    std::vector<uint8_t> factory(static_cast<size_t>(kb.QlSimAreaSize(QL_SIM_AREA_LIGHTING)));
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_LIGHTING, 0, factory.data(), static_cast<uint32_t>(factory.size())), 1);
    bool partial = false;
    // The refusal moves one request later each time, through the whole change.
    for (int passed = 1; passed < 40 && !partial; ++passed) {
        ASSERT_EQ(kb.QlSimWriteArea(QL_SIM_AREA_LIGHTING, 0, factory.data(), static_cast<uint32_t>(factory.size())), 1);
        ASSERT_EQ(kb.QlSimRunFaults(("ok:" + std::to_string(passed) + ",status=0xFE:3").c_str()), 1);
        const auto run = Run({"light", "effect", "5"});
        kb.QlSimRunFaults("");
        std::vector<uint8_t> now(factory.size());
        ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_LIGHTING, 0, now.data(), static_cast<uint32_t>(now.size())), 1);
        if (run.exitCode == 0 || now == factory)
            continue;
        partial = true;
        SCOPED_TRACE(run.err);
        // The first byte of a profile's lighting record is its effect.
        EXPECT_NE(run.err.find("part of the change may have been written; read back, profile 1 now has effect " +
                               std::to_string(now[0]) + " "),
                  std::string::npos);
    }
    EXPECT_TRUE(partial) << "no refusal left part of the change on the keyboard";
}

}  // namespace
}  // namespace trevolin::test
