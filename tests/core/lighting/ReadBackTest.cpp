#include "LightingRig.h"

#include "core/base/IniFile.h"
#include "core/lighting/LightingResults.h"

#include <gtest/gtest.h>

namespace trevolin::lighting {
namespace {

using test::LightingRig;
using Lines = std::vector<std::string>;
using Kind = LightingController::ReadBackKind;

class ReadBackTest : public ::testing::Test {
protected:
    void StoreView(const char* value)
    {
        ASSERT_TRUE(base::IniFile(rig.folder.File("wskb.ini")).Write("KEYCOLOR", "DengCheck", value));
    }

    LightingRig rig;
    LightingController& lighting = rig.controller;
};

TEST_F(ReadBackTest, ReadsAllThreeRecordsAndShowsTheCurrentProfiles)
{
    rig.SetEffects({4, 0, 6});
    for (int p = 0; p < 3; ++p)
        rig.Record(p)[0] = static_cast<uint8_t>(10 + p);
    uint8_t* record = rig.Record(1);
    record[1] = 2;
    record[4] = 9;  // any non-zero multicolour is on
    record[5] = 12;
    record[6] = 34;
    record[7] = 56;
    record[15] = 7;  // no such report rate: the highest
    record[19] = 5;  // no such trigger choice: ignored
    rig.commands.SetCurrentProfile(1);

    EXPECT_EQ(lighting.ReadBack(Kind::Refresh), 1);
    EXPECT_EQ(rig.Sent(), (Lines{"3 @0 #44", "1", "5 @0 #56", "5 @42 #56", "5 @84 #56", "2"}));
    EXPECT_EQ(lighting.Effects().Effects(), (std::vector<uint8_t>{4, 6}));
    const LightMode& mode = lighting.Mode();
    EXPECT_EQ(mode.mode, 11);
    EXPECT_EQ(mode.brightness, 2);
    EXPECT_TRUE(mode.multicolour);
    EXPECT_EQ(mode.colour, (RgbColor{12, 34, 56}));
    EXPECT_EQ(mode.reportRate, 3);
    EXPECT_EQ(lighting.View(rig.texts).checkedReportButton, 1170);
    EXPECT_EQ(mode.triggerChoice, 0);
    EXPECT_EQ(lighting.Records()[2][0], 12);

    record[19] = 1;
    static_cast<void>(lighting.ReadBack(Kind::Refresh));
    EXPECT_EQ(lighting.Mode().triggerChoice, 1);
    record[19] = 5;
    static_cast<void>(lighting.ReadBack(Kind::Refresh));
    EXPECT_EQ(lighting.Mode().triggerChoice, 1);
}

TEST_F(ReadBackTest, StopsWhenTheInformationBlockCannotBeRead)
{
    rig.SetEffects({1, 2});
    rig.Record(0)[0] = 2;
    rig.Connect(0);
    ASSERT_EQ(lighting.Effects().Size(), 2u);
    const LightMode before = lighting.Mode();

    rig.Record(0)[0] = 5;
    rig.keyboard.statusOf = {{3, device::StatusRefused}};
    EXPECT_EQ(lighting.OnConnected(), ResultReadBackFailed);
    EXPECT_EQ(rig.Sent(), (Lines{"3 @0 #44", "3 @0 #44", "3 @0 #44"}));
    EXPECT_EQ(lighting.Effects().Size(), 0u);
    EXPECT_EQ(lighting.Mode(), before);
}

// A record whose read fails keeps what was last read for it, instead of
// taking the bytes another record left in the reply buffer.
TEST_F(ReadBackTest, AFailedRecordReadKeepsThatRecord)
{
    rig.SetEffects({1, 2, 3});
    rig.Record(0)[0] = 1;
    rig.Record(1)[0] = 2;
    rig.Connect(1);
    ASSERT_EQ(lighting.Mode().mode, 2);

    rig.Record(0)[0] = 3;
    rig.Record(1)[0] = 3;
    // Commands 3 and 1 and the first read go through; the second read is
    // refused on all three tries.
    const trevolin::test::FakeHidLibrary::Reply refused{trevolin::test::FakeHidLibrary::Reply::Normal, 0xFF};
    rig.fake.replies.assign({{}, {}, {}, refused, refused, refused});
    EXPECT_EQ(lighting.ReadBack(Kind::Refresh), device::ResultRefused);
    EXPECT_EQ(lighting.Records()[0][0], 3);
    EXPECT_EQ(lighting.Records()[1][0], 2);
    EXPECT_EQ(lighting.Mode().mode, 2);
}

TEST_F(ReadBackTest, TheLightingViewFollowsTheSettingsFile)
{
    rig.SetEffects({1});
    struct Case {
        bool viewBefore;
        const char* stored;  // nullptr: no file
        Kind kind;
        bool viewAfter;
    };
    const Case cases[] = {
        {false, "1", Kind::Connection, true},     {true, "0", Kind::Connection, false},
        {true, nullptr, Kind::Connection, false}, {true, "2", Kind::Connection, false},
        {false, "1", Kind::Refresh, true},        {true, "0", Kind::Refresh, true},
        {false, "0", Kind::Refresh, false},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(rig.folder.File("wskb.ini"));
        // Turning the view on or off writes the file; the case's own value goes in afterwards.
        if (c.viewBefore)
            EXPECT_TRUE(lighting.TurnLightingViewOn());
        else
            lighting.TurnLightingViewOff();
        if (c.stored)
            StoreView(c.stored);
        else
            std::filesystem::remove(rig.folder.File("wskb.ini"));
        static_cast<void>(lighting.ReadBack(c.kind));
        EXPECT_EQ(lighting.LightingViewOn(), c.viewAfter)
            << c.viewBefore << " " << (c.stored ? c.stored : "none") << " " << int(c.kind);
    }
}

TEST_F(ReadBackTest, ConnectionInEffect20WithTheViewOnShowsTheKeyboardsColours)
{
    rig.SetEffects({1, 20});
    rig.Record(1)[0] = 20;
    StoreView("1");
    // The keyboard's page of profile 1: Esc (position 0) green, F1 (2) blue.
    rig.keyboard.keyColours[512 + 1] = 255;
    rig.keyboard.keyColours[512 + 6 + 2] = 255;
    rig.commands.SetCurrentProfile(1);

    EXPECT_EQ(lighting.OnConnected(), 1);
    Lines expected = {"3 @0 #44", "1", "5 @0 #56", "5 @42 #56", "5 @84 #56", "2", "1"};
    for (int run = 0; run < 8; ++run)
        expected.push_back("16 @" + std::to_string(512 + 54 * run) + " #54");
    expected.push_back("2");
    EXPECT_EQ(rig.Sent(), expected);

    const keyboard::KeyRef esc{keyboard::KeyKind::Layout, 37};
    const keyboard::KeyRef f1{keyboard::KeyKind::Layout, 52};
    EXPECT_EQ(lighting.Editor().Page(1).At(0), (RgbColor{0, 255, 0}));
    EXPECT_EQ(rig.tints.Get(esc), (RgbColor{0, 255, 0}));
    EXPECT_EQ(rig.tints.Get(f1), (RgbColor{0, 0, 255}));
    // No mode file: the base colour is black, so only the black keys follow it.
    EXPECT_FALSE(lighting.Editor().FollowsBase(1, esc));
    EXPECT_TRUE(lighting.Editor().FollowsBase(1, {keyboard::KeyKind::Layout, 0}));
}

}  // namespace
}  // namespace trevolin::lighting
