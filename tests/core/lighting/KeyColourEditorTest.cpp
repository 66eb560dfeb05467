#include "LightingRig.h"

#include "core/base/IniFile.h"
#include "core/lighting/LightingResults.h"

#include <gtest/gtest.h>

#include <set>

namespace trevolin::lighting {
namespace {

using keyboard::KeyKind;
using keyboard::KeyRef;
using test::LightingRig;
using Lines = std::vector<std::string>;

constexpr uint16_t F1 = 1010;     // light 2
constexpr uint16_t Print = 1091;  // light 100
constexpr uint16_t Pause = 1093;  // no light
constexpr uint16_t G1 = 1000;
constexpr uint16_t Fn = 1174;  // light 96
const KeyRef F1Key{KeyKind::Layout, 52};
const KeyRef EscKey{KeyKind::Layout, 37};  // light 0

class KeyColourEditorTest : public ::testing::Test {
protected:
    // Profile `profile` in effect 20; its mode file holds user mode 4 with
    // base colour 10,20,30 and paint colour 200,100,0, where Esc, F1 and the
    // G keys have the base colour and follow it, Print does not, and every
    // other key is missing (red). On connection a key follows the base
    // colour when it has it.
    void Start(int profile, int tool)
    {
        rig.SetEffects({1, 4, 20});
        rig.Record(profile)[0] = 20;
        rig.folder.Write(
            "UserDengColor_" + std::to_string(profile) + ".userd",
            "[PRESENTMODE]\nmode=4\n[Mode4]\ntool=" + std::to_string(tool) +
                "\njcolor=10,20,30\ncolor=200,100,0\n0=10,20,30,1\n2=10,20,30,1\n125=10,20,30,1\n100=1,1,1,0\n");
        rig.Connect(profile);
    }

    std::string Entry(int profile, const char* section, const char* key)
    {
        return base::IniFile(rig.folder.File("UserDengColor_" + std::to_string(profile) + ".userd"))
            .ReadString(section, key, "(missing)");
    }

    static Lines PageWrite(int profile)
    {
        Lines lines;
        for (int run = 0; run < 8; ++run)
            lines.push_back("17 @" + std::to_string(512 * profile + 54 * run));
        return lines;
    }

    // Commands and offsets only.
    Lines SentHeads() const
    {
        Lines heads;
        for (const auto& line : rig.Sent())
            heads.push_back(line.substr(0, line.find(':')));
        return heads;
    }

    LightingRig rig;
    LightingController& lighting = rig.controller;
    KeyColourEditor& editor = rig.controller.Editor();
};

TEST_F(KeyColourEditorTest, Tool1PaintsWithTheBaseColourAndFollowsIt)
{
    Start(0, 1);
    ASSERT_EQ(editor.ChosenUserMode(), 4);
    EXPECT_EQ(lighting.PaintKey(F1), 1);
    EXPECT_EQ(rig.Sent(), (Lines{"1", "17 @6: 0a 14 1e", "2"}));
    EXPECT_EQ(rig.fake.written[1].Length(), 3);
    EXPECT_EQ(Entry(0, "Mode4", "2"), "10,20,30,1");
    EXPECT_TRUE(editor.FollowsBase(0, F1Key));
    EXPECT_EQ(editor.Page(0).At(2), (RgbColor{10, 20, 30}));
    EXPECT_EQ(rig.tints.Get(F1Key), (RgbColor{10, 20, 30}));
}

TEST_F(KeyColourEditorTest, Tool0PaintsWithThePaintColourOnTheCurrentProfilesPage)
{
    Start(1, 0);
    EXPECT_EQ(lighting.PaintKey(Print), 1);
    ASSERT_EQ(rig.Sent(), (Lines{"1", "17 @812: c8 64 00", "2"}));
    // 512 + 3 x 100 = 812 = 0x032C, low byte first.
    EXPECT_EQ(rig.fake.written[1][5], 0x2C);
    EXPECT_EQ(rig.fake.written[1][6], 0x03);
    EXPECT_EQ(Entry(1, "Mode4", "100"), "200,100,0,0");
    EXPECT_FALSE(editor.FollowsBase(1, {KeyKind::Layout, 64}));

    rig.fake.written.clear();
    EXPECT_EQ(lighting.PaintKey(Fn), 1);
    EXPECT_EQ(SentHeads(), (Lines{"1", "17 @800", "2"}));  // 512 + 3 x 96
}

TEST_F(KeyColourEditorTest, PaintingChangesNothingWhereItDoesNotApply)
{
    Start(0, 0);
    const std::string file = rig.ModeFileText(0);
    EXPECT_EQ(lighting.PaintKey(Pause), ResultRejected);  // no light
    EXPECT_EQ(lighting.PaintKey(1005), ResultRejected);   // not a key button
    ASSERT_EQ(lighting.ChooseEffect(4), 1);
    rig.fake.written.clear();
    rig.tints.ClearAll();
    EXPECT_EQ(lighting.PaintKey(F1), ResultRejected);  // effect 4
    EXPECT_TRUE(rig.Sent().empty());
    EXPECT_EQ(rig.ModeFileText(0), file);
    EXPECT_EQ(rig.tints.TintedCount(), 0u);
    EXPECT_EQ(editor.Page(0).At(2), (RgbColor{10, 20, 30}));
}

// The mode file and the page copy take a colour only once the keyboard has
// taken it, so that they never say what the keyboard refused.
TEST_F(KeyColourEditorTest, WhatTheKeyboardRefusesStaysOutOfTheModeFile)
{
    Start(1, 0);
    const std::string file = rig.ModeFileText(1);
    rig.keyboard.statusOf = {{17, device::StatusRefused}};
    EXPECT_EQ(lighting.PaintKey(Print), device::ResultRefused);
    EXPECT_EQ(editor.PaintKeyWith(Print, PerKeyEffect, 0, RgbColor{9, 9, 9}), device::ResultRefused);
    EXPECT_EQ(editor.PaintKeyWith(Print, PerKeyEffect, 1, std::nullopt), device::ResultRefused);
    EXPECT_EQ(editor.ChangeBaseColour({0, 0, 1}), device::ResultRefused);
    EXPECT_EQ(editor.SetKeyColours(std::vector<std::pair<int, KeyColour>>{{100, {{5, 5, 5}, false}}}),
              device::ResultRefused);
    EXPECT_EQ(rig.ModeFileText(1), file);
    EXPECT_EQ(editor.Page(1).At(100), (RgbColor{1, 1, 1}));
    EXPECT_EQ(editor.Page(1).At(0), (RgbColor{10, 20, 30}));
    EXPECT_EQ(editor.Settings(), (UserModeSettings{0, {10, 20, 30}, {200, 100, 0}}));
    EXPECT_EQ(rig.tints.Get({KeyKind::Layout, 64}), (RgbColor{1, 1, 1})) << "Print shows what the keyboard holds";

    // With the keyboard taking it, the brush and the paint colour go along.
    rig.keyboard.statusOf.clear();
    EXPECT_EQ(editor.PaintKeyWith(Print, PerKeyEffect, 0, RgbColor{9, 9, 9}), 1);
    EXPECT_EQ(Entry(1, "Mode4", "100"), "9,9,9,0");
    EXPECT_EQ(Entry(1, "Mode4", "color"), "9,9,9");
    EXPECT_TRUE(editor.ModeFileSaved());
}

// A page the keyboard took only in part: the file keeps the runs it took
// and, for the others, what the keyboard showed before.
TEST_F(KeyColourEditorTest, APageTakenInPartLeavesTheFileSayingWhatTheKeyboardShows)
{
    Start(1, 0);
    rig.keyboard.refusedAt = {{17, 512 + 5 * 54}, {17, 512 + 6 * 54}};  // runs 5 (Print, 100) and 6 (the G keys, 125)
    const std::vector<std::pair<int, KeyColour>> entries = {
        {0, {{7, 7, 7}, false}}, {100, {{8, 8, 8}, false}}, {125, {{6, 6, 6}, false}}, {52, {{5, 5, 5}, false}}};
    EXPECT_EQ(editor.SetKeyColours(entries), device::ResultRefused);
    std::set<uint16_t> runsSent;
    for (const auto& report : rig.fake.written)
        runsSent.insert(static_cast<uint16_t>(report.Offset()));
    EXPECT_EQ(runsSent.size(), 9u) << "every run is still sent";  // and the bracket's offset 0

    EXPECT_EQ(Entry(1, "Mode4", "0"), "7,7,7,0");
    EXPECT_EQ(Entry(1, "Mode4", "52"), "5,5,5,0");
    EXPECT_EQ(Entry(1, "Mode4", "100"), "1,1,1,0");
    EXPECT_EQ(Entry(1, "Mode4", "125"), "10,20,30,1");
    EXPECT_EQ(editor.Page(1).At(0), (RgbColor{7, 7, 7}));
    EXPECT_EQ(editor.Page(1).At(100), (RgbColor{1, 1, 1}));
    EXPECT_FALSE(editor.FollowsBase(1, EscKey));
    EXPECT_TRUE(editor.FollowsBase(1, {KeyKind::GKey, 0}));
    EXPECT_EQ(rig.tints.Get(EscKey), (RgbColor{7, 7, 7}));
    EXPECT_EQ(rig.tints.Get({KeyKind::GKey, 0}), std::nullopt);

    // The base colour reaches the keys that follow it only where the
    // keyboard took it, and stays the old one until it took all.
    rig.keyboard.refusedAt = {{17, 512 + 6 * 54}};
    EXPECT_EQ(editor.ChangeBaseColour({0, 0, 9}), device::ResultRefused);
    EXPECT_EQ(Entry(1, "Mode4", "2"), "0,0,9,1");       // F1, run 0
    EXPECT_EQ(Entry(1, "Mode4", "125"), "10,20,30,1");  // the G keys, run 6
    EXPECT_EQ(Entry(1, "Mode4", "jcolor"), "10,20,30");
    EXPECT_EQ(editor.Settings().baseColour, (RgbColor{10, 20, 30}));
}

// The nine G keys share one light and one entry in the mode file, so
// painting one of them paints and un-follows them all.
TEST_F(KeyColourEditorTest, TheGKeysShareTheirLight)
{
    Start(0, 0);
    ASSERT_TRUE(editor.FollowsBase(0, {KeyKind::GKey, 4}));
    EXPECT_EQ(lighting.PaintKey(G1), 1);
    EXPECT_EQ(SentHeads(), (Lines{"1", "17 @375", "2"}));  // 3 x 125
    EXPECT_EQ(Entry(0, "Mode4", "125"), "200,100,0,0");
    for (uint8_t g = 0; g < 9; ++g) {
        EXPECT_EQ(rig.tints.Get({KeyKind::GKey, g}), (RgbColor{200, 100, 0})) << int(g);
        EXPECT_FALSE(editor.FollowsBase(0, {KeyKind::GKey, g})) << int(g);
    }

    rig.fake.written.clear();
    EXPECT_EQ(editor.ChangeBaseColour({1, 2, 3}), 1);
    EXPECT_EQ(editor.Page(0).At(125), (RgbColor{200, 100, 0}));
}

TEST_F(KeyColourEditorTest, ABaseColourChangeCarriesEveryKeyFollowingIt)
{
    Start(2, 0);
    EXPECT_EQ(editor.ChangeBaseColour({10, 20, 30}), 1);  // unchanged
    EXPECT_TRUE(rig.Sent().empty());

    const std::string before = rig.ModeFileText(2);
    EXPECT_EQ(editor.ChangeBaseColour({0, 128, 255}), 1);
    EXPECT_EQ(SentHeads(), [] {
        Lines lines = PageWrite(2);
        lines.insert(lines.begin(), "1");
        lines.push_back("2");
        return lines;
    }());
    // Esc (0), F1 (2) and the G keys (125) follow it; Print (100) and the
    // red keys do not.
    const auto& page = editor.Page(2);
    EXPECT_EQ(page.At(0), (RgbColor{0, 128, 255}));
    EXPECT_EQ(page.At(2), (RgbColor{0, 128, 255}));
    EXPECT_EQ(page.At(125), (RgbColor{0, 128, 255}));
    EXPECT_EQ(page.At(52), (RgbColor{255, 0, 0}));
    EXPECT_EQ(page.At(100), (RgbColor{1, 1, 1}));
    EXPECT_EQ(page.At(1), (RgbColor{}));  // no key here
    EXPECT_EQ(rig.tints.Get(EscKey), (RgbColor{0, 128, 255}));
    EXPECT_EQ(rig.tints.Get({KeyKind::GKey, 6}), (RgbColor{0, 128, 255}));
    EXPECT_EQ(rig.tints.Get({KeyKind::Layout, 0}), std::nullopt);
    EXPECT_EQ(Entry(2, "Mode4", "2"), "0,128,255,1");
    EXPECT_EQ(Entry(2, "Mode4", "100"), "1,1,1,0");
    EXPECT_EQ(Entry(2, "Mode4", "jcolor"), "0,128,255");
    EXPECT_NE(rig.ModeFileText(2), before);

    // The page goes out as it is held: run 0 starts with Esc's colour.
    EXPECT_EQ(rig.Sent()[1].substr(0, 20), "17 @1024: 00 80 ff 0");
    EXPECT_EQ(rig.fake.written[1].Length(), 54);
}

TEST_F(KeyColourEditorTest, PaintColourAndToolOnlyChangeTheModeFile)
{
    Start(0, 0);
    EXPECT_TRUE(editor.ChangePaintColour({5, 6, 7}));
    EXPECT_TRUE(editor.ChooseTool(1));
    EXPECT_FALSE(editor.ChooseTool(2));
    EXPECT_TRUE(rig.Sent().empty());
    EXPECT_EQ(Entry(0, "Mode4", "color"), "5,6,7");
    EXPECT_EQ(Entry(0, "Mode4", "tool"), "1");
    EXPECT_EQ(Entry(0, "Mode4", "jcolor"), "10,20,30");
    const auto view = lighting.View(rig.texts);
    EXPECT_EQ(view.paintColour, (RgbColor{5, 6, 7}));
    EXPECT_EQ(view.Picture(1165), "user2down.bmp");
}

TEST_F(KeyColourEditorTest, ChoosingAUserModeSendsItsOwnColours)
{
    Start(1, 0);
    rig.folder.Write("UserDengColor_1.userd", rig.ModeFileText(1) + "[Mode7]\ntool=1\njcolor=1,2,3\n2=9,8,7,0\n");

    EXPECT_EQ(editor.ChooseUserMode(7), 1);
    Lines expected = {"1"};
    for (int run = 0; run < 8; ++run)
        expected.push_back("17 @" + std::to_string(512 + 54 * run));
    expected.push_back("2");
    EXPECT_EQ(SentHeads(), expected);
    EXPECT_EQ(Entry(1, "PRESENTMODE", "mode"), "7");
    // F1's light, position 2: the mode's colour, on the keyboard and the key.
    EXPECT_EQ(rig.keyboard.keyColours[512 + 6], 9);
    EXPECT_EQ(editor.Page(1).At(2), (RgbColor{9, 8, 7}));
    EXPECT_EQ(rig.tints.Get(F1Key), (RgbColor{9, 8, 7}));
    EXPECT_FALSE(editor.FollowsBase(1, F1Key));
    EXPECT_EQ(editor.Settings(), (UserModeSettings{1, {1, 2, 3}, {0, 0, 0}}));
    EXPECT_EQ(lighting.View(rig.texts).selectedUserMode, 7);

    rig.fake.written.clear();
    EXPECT_EQ(editor.ChooseUserMode(10), ResultRejected);
    EXPECT_TRUE(rig.Sent().empty());
}

TEST_F(KeyColourEditorTest, RenamingWritesTheChosenModesName)
{
    Start(0, 0);
    EXPECT_TRUE(editor.RenameUserMode("Ni"));
    EXPECT_TRUE(editor.RenameUserMode("Night"));
    EXPECT_EQ(Entry(0, "MODENAME", "4"), "Night");
    EXPECT_EQ(editor.UserModeNames()[4], "Night");
    EXPECT_EQ(editor.UserModeNames()[3], "0");

    EXPECT_FALSE(editor.RenameUserMode("two\nlines"));
    EXPECT_EQ(editor.UserModeNames()[4], "Night");
}

TEST_F(KeyColourEditorTest, AMissingModeFileGivesTenModesAndRedKeysFollowingTheBase)
{
    rig.SetEffects({20});
    rig.Connect(0);  // effect 0 on the keyboard: the per-key page is not read
    EXPECT_EQ(editor.UserModeNames(), std::vector<std::string>(10, "0"));
    EXPECT_EQ(editor.ChosenUserMode(), 0);
    EXPECT_EQ(editor.Settings(), UserModeSettings{});
    keyboard::ForEachKey(
        [&](KeyRef key) {
            const uint8_t light = keyboard::LightPositionOf(key);
            if (!keyboard::HasLight(light))
                return;
            EXPECT_EQ(editor.Page(0).At(light), (RgbColor{255, 0, 0})) << int(light);
        },
        keyboard::FnKeyVisit::Last);
    // Loaded from the file, then recomputed on connection against the base
    // colour, black: red keys do not follow it.
    EXPECT_FALSE(editor.FollowsBase(0, F1Key));

    rig.commands.SetCurrentProfile(0);
    editor.LoadUserMode(0);
    EXPECT_TRUE(editor.FollowsBase(0, F1Key));
    EXPECT_TRUE(editor.FollowsBase(0, {KeyKind::Fn, 0}));
    EXPECT_TRUE(editor.FollowsBase(0, {KeyKind::GKey, 8}));
    EXPECT_FALSE(editor.FollowsBase(0, {KeyKind::Layout, 65}));  // Pause has no light
}

TEST_F(KeyColourEditorTest, RestoreDefaultsResetsTheModeFileAndWritesItsColours)
{
    rig.folder.Write("Skins-UserDengColor_3.userd", "[Mode0]\njcolor=1,1,1\n0=9,8,7,1\n");
    Start(1, 0);
    rig.fake.written.clear();

    EXPECT_EQ(lighting.RestoreDefaults(), 1);
    EXPECT_EQ(rig.ModeFileText(1), "[Mode0]\njcolor=1,1,1\n0=9,8,7,1\n");
    Lines expected = {"1", "6 @42", "6 @46", "2", "1"};
    for (const auto& line : PageWrite(1))
        expected.push_back(line);
    expected.insert(expected.end(), {"2", "1", "6 @42", "2"});
    EXPECT_EQ(SentHeads(), expected);
    // Esc from the template, F1 missing from it: red.
    const uint8_t* run0 = rig.fake.written[5].Data();
    EXPECT_EQ((std::vector<int>{run0[0], run0[1], run0[2], run0[6], run0[7], run0[8]}),
              (std::vector<int>{9, 8, 7, 255, 0, 0}));
    EXPECT_EQ(editor.ChosenUserMode(), 0);
    EXPECT_EQ(editor.Settings().baseColour, (RgbColor{1, 1, 1}));
    EXPECT_EQ(lighting.Mode().mode, 1);
}

}  // namespace
}  // namespace trevolin::lighting
