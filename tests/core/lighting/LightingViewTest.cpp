#include "LightingRig.h"

#include "core/base/IniFile.h"
#include "core/lighting/LightingResults.h"
#include "core/lighting/PanelControls.h"

#include <gtest/gtest.h>

namespace trevolin::lighting {
namespace {

using keyboard::KeyKind;
using test::LightingRig;

class LightingViewTest : public ::testing::Test {
protected:
    LightingViewTest()
    {
        rig.SetEffects({1, 4, 20});
        rig.controller.SetSelectProfile([this](int profile) {
            selected.push_back(profile);
            return selectAnswer;
        });
    }

    std::string Stored() const
    {
        return base::IniFile(rig.folder.File("wskb.ini")).ReadString("KEYCOLOR", "DengCheck", "(missing)");
    }

    LightingRig rig;
    LightingController& lighting = rig.controller;
    std::vector<int> selected;
    bool selectAnswer = true;
};

TEST_F(LightingViewTest, TurningOnSelectsTheCurrentProfileFirst)
{
    rig.Record(2)[0] = 20;
    rig.Connect(2);
    // F1's colour in the page copy, from the (missing) mode file: red.
    ASSERT_FALSE(lighting.LightingViewOn());

    selectAnswer = false;
    EXPECT_FALSE(lighting.TurnLightingViewOn());
    EXPECT_EQ(selected, std::vector<int>{2});
    EXPECT_FALSE(lighting.LightingViewOn());
    EXPECT_EQ(Stored(), "(missing)");
    EXPECT_FALSE(lighting.View(rig.texts).IsVisible(control::XGcombox));
    EXPECT_EQ(rig.tints.TintedCount(), 0u);

    selectAnswer = true;
    EXPECT_TRUE(lighting.ToggleLightingView());
    EXPECT_TRUE(lighting.LightingViewOn());
    EXPECT_EQ(Stored(), "1");
    const auto view = lighting.View(rig.texts);
    EXPECT_EQ(view.Picture(control::DengStaPic), "dengdown.bmp");
    EXPECT_TRUE(view.IsVisible(control::UmCombo));
    // Effect 20: the keys show the page copy; nothing is read or sent.
    EXPECT_EQ(rig.tints.Get({KeyKind::Layout, 52}), (RgbColor{255, 0, 0}));
    EXPECT_EQ(rig.tints.Get({KeyKind::Fn, 0}), (RgbColor{255, 0, 0}));
    EXPECT_EQ(rig.tints.Get({KeyKind::Layout, 65}), std::nullopt);  // Pause
    EXPECT_TRUE(rig.Sent().empty());
}

TEST_F(LightingViewTest, TurningOffStoresItAndHidesTheEffectControls)
{
    rig.Record(0)[0] = 20;
    rig.Connect(0);
    ASSERT_TRUE(lighting.TurnLightingViewOn());
    ASSERT_GT(rig.tints.TintedCount(), 0u);

    EXPECT_TRUE(lighting.ToggleLightingView());
    EXPECT_FALSE(lighting.LightingViewOn());
    EXPECT_EQ(Stored(), "0");
    EXPECT_EQ(rig.tints.TintedCount(), 0u);
    const auto view = lighting.View(rig.texts);
    EXPECT_EQ(view.Picture(control::DengStaPic), "dengup.bmp");
    for (const uint16_t id : {control::XGcombox, control::LightSlider, control::UmCombo, control::USERjsButton})
        EXPECT_FALSE(view.IsVisible(id)) << id;
    for (const uint16_t id : {control::DengStaPic, control::DengStatic, control::Report1, control::ColorG,
                              uint16_t(1218), control::RGBStatic})
        EXPECT_TRUE(view.IsVisible(id)) << id;
}

TEST_F(LightingViewTest, SwitchingProfileReadsTheNewProfileAndTurnsTheViewOff)
{
    rig.Record(0)[0] = 4;
    rig.Record(1)[0] = 20;
    rig.Record(1)[1] = 3;
    rig.folder.Write("UserDengColor_1.userd", "[PRESENTMODE]\nmode=6\n[MODENAME]\n6=Six\n[Mode6]\njcolor=4,5,6\n");
    rig.Connect(0);
    ASSERT_TRUE(lighting.TurnLightingViewOn());
    rig.fake.written.clear();

    EXPECT_EQ(lighting.SwitchProfile(1), 1);
    EXPECT_EQ(rig.commands.CurrentProfile(), 1);
    EXPECT_EQ(lighting.Mode().mode, 20);
    EXPECT_EQ(lighting.Mode().brightness, 3);
    EXPECT_EQ(lighting.Editor().ChosenUserMode(), 6);
    EXPECT_EQ(lighting.Editor().UserModeNames()[6], "Six");
    EXPECT_EQ(lighting.Editor().Settings().baseColour, (RgbColor{4, 5, 6}));
    // The panel was refreshed in effect 20 with the view still on: profile
    // 1's page was read before the view went off.
    const auto sent = rig.Sent();
    ASSERT_EQ(sent.size(), 16u);
    EXPECT_EQ(sent[7], "16 @512 #54");
    EXPECT_FALSE(lighting.LightingViewOn());
    EXPECT_EQ(Stored(), "0");
    EXPECT_EQ(rig.tints.TintedCount(), 0u);

    EXPECT_EQ(lighting.SwitchProfile(3), ResultRejected);
    EXPECT_EQ(rig.commands.CurrentProfile(), 1);
}

}  // namespace
}  // namespace trevolin::lighting
