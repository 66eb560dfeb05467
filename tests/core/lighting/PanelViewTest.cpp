#include "core/lighting/PanelView.h"
#include "support/MapTextLookup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace trevolin::lighting {
namespace {

namespace c = control;

const std::set<uint16_t> AlwaysShown = {c::DengStatic, c::DengStaPic, c::UsbStatic, c::Report1, c::Report2,
                                        c::Report3,    c::Report4,    c::RGBStatic, c::ColorR,  c::ColorG,
                                        c::ColorB,     1211,          1212,         1213,       1214,
                                        1215,          1216,          1217,         1218};

class PanelViewTest : public ::testing::Test {
protected:
    PanelView Build()
    {
        return PanelView::Build({mode, effects, viewOn, numberFields, names, 0, settings}, texts);
    }

    std::set<uint16_t> EffectControls()
    {
        const auto view = Build();
        std::set<uint16_t> shown;
        for (const uint16_t id : view.visible) {
            if (AlwaysShown.count(id) == 0)
                shown.insert(id);
        }
        for (const uint16_t id : AlwaysShown)
            EXPECT_TRUE(view.IsVisible(id)) << id;
        return shown;
    }

    LightMode mode;
    EffectList effects;
    bool viewOn = true;
    std::array<std::string, 3> numberFields;
    std::vector<std::string> names = std::vector<std::string>(10, "0");
    UserModeSettings settings;
    test::MapTextLookup texts;
};

TEST_F(PanelViewTest, EachEffectShowsItsOwnControlsWhileTheViewIsOn)
{
    using Ids = std::set<uint16_t>;
    const Ids base = {c::XGcombox, c::LightStatic, c::LightSlider};
    const Ids speed = {c::SpeedStatic, c::SpeedSlider};
    const Ids direction = {c::BLFXStatic, c::BLFXLStaPic, c::BLFXRStaPic};
    const Ids groupA = {c::HXysStatic, c::HXysButton, c::HXsjsStatic, c::HXsjsStaPic};
    const Ids groupB = {c::FYYSStatic, c::FYYSButton, c::FYSJSStatic, c::FYSJSStaPic};
    const Ids choice = {c::HongPic, c::HuangPic, c::LvPic, c::LanPic};
    const Ids user = {c::USERysStatic, c::USERysButton,  c::USERjsStatic,  c::USERjsButton,
                      c::USERgjStatic, c::USERgjStaPic1, c::USERgjStaPic2, c::UmCombo};
    const auto all = [](std::initializer_list<Ids> groups) {
        Ids ids;
        for (const auto& g : groups)
            ids.insert(g.begin(), g.end());
        return ids;
    };
    const std::vector<std::pair<int, Ids>> cases = {
        // clang-format off
        {1, all({base, speed, direction, groupA})},  {2, all({base, speed, direction, groupA})},
        {3, all({base, speed, direction, groupA})},  {4, all({base, speed})},
        {5, all({base, speed, groupA})},             {6, all({base, groupB})},
        {7, all({base, speed, groupA})},             {8, all({base, speed, groupA})},
        {9, all({base, speed, groupA})},             {10, all({base, speed, groupA})},
        {11, all({base, speed})},                    {12, all({base, speed, direction})},
        {13, all({base, speed, groupA})},            {14, all({base, speed, groupA})},
        {15, all({base, speed, groupA})},            {16, all({base, groupB})},
        {17, all({base, choice})},                   {18, all({base, direction})},
        {20, all({base, user})},
        // Effects the program does not handle show no effect control at all.
        {0, {}}, {19, {}}, {21, {}}, {255, {}},
        // clang-format on
    };
    for (const auto& [effect, expected] : cases) {
        mode.mode = static_cast<uint8_t>(effect);
        EXPECT_EQ(EffectControls(), expected) << "effect " << effect;
    }

    mode.mode = 1;
    viewOn = false;
    EXPECT_EQ(EffectControls(), Ids{});
}

TEST_F(PanelViewTest, PicturesFollowTheModel)
{
    mode.mode = 12;
    mode.direction = LightMode::DirectionLeft;  // up
    mode.brightness = 3;
    mode.speed = 4;
    mode.multicolour = false;
    mode.colourChoice = 2;
    mode.reportRate = 2;
    settings.tool = 1;
    auto view = Build();
    EXPECT_EQ(view.Picture(c::BLFXLStaPic), "updown.bmp");
    EXPECT_EQ(view.Picture(c::BLFXRStaPic), "downup.bmp");
    EXPECT_EQ(view.directionGroup,
              (DirectionSkinNames{"CONTROL_BLFXStatic3", "CONTROL_BLFXLStaPic3", "CONTROL_BLFXRStaPic3"}));
    EXPECT_EQ(view.brightnessPosition, 3);
    EXPECT_EQ(view.Picture(c::LightSlider), "3.bmp");
    EXPECT_EQ(view.speedPosition, 0);  // speed 4 sits at the left end
    EXPECT_EQ(view.Picture(c::SpeedSlider), "6.bmp");
    EXPECT_EQ(view.Picture(c::HXsjsStaPic), "sjsup.bmp");
    EXPECT_EQ(view.Picture(c::FYSJSStaPic), "sjsup.bmp");
    EXPECT_EQ(view.Picture(c::HongPic), "hong.bmp");
    EXPECT_EQ(view.Picture(c::LvPic), "lvok.bmp");
    EXPECT_EQ(view.Picture(c::LanPic), "lan.bmp");
    EXPECT_EQ(view.Picture(c::USERgjStaPic1), "user1up.bmp");
    EXPECT_EQ(view.Picture(c::USERgjStaPic2), "user2down.bmp");
    EXPECT_EQ(view.Picture(c::DengStaPic), "dengdown.bmp");
    EXPECT_EQ(view.Picture(1215), "Color5.bmp");
    EXPECT_EQ(view.checkedReportButton, c::Report3);

    mode.mode = 18;
    mode.direction = LightMode::DirectionRight;  // converge
    mode.speed = 0;
    settings.tool = 0;
    viewOn = false;
    view = Build();
    EXPECT_EQ(view.Picture(c::BLFXLStaPic), "kuosan.bmp");
    EXPECT_EQ(view.Picture(c::BLFXRStaPic), "julongdown.bmp");
    EXPECT_EQ(view.directionGroup.left, "CONTROL_BLFXLStaPic");
    EXPECT_EQ(view.speedPosition, 4);
    EXPECT_EQ(view.Picture(c::SpeedSlider), "10.bmp");
    EXPECT_EQ(view.Picture(c::USERgjStaPic1), "user1down.bmp");
    EXPECT_EQ(view.Picture(c::DengStaPic), "dengup.bmp");

    mode.mode = 2;
    view = Build();
    EXPECT_EQ(view.Picture(c::BLFXLStaPic), "leftup.bmp");
    EXPECT_EQ(view.Picture(c::BLFXRStaPic), "rightdown.bmp");
    EXPECT_EQ(view.directionGroup.label, "CONTROL_BLFXStatic2");
}

TEST_F(PanelViewTest, ListsAndLabelsComeFromTheLanguageFile)
{
    std::array<uint8_t, EffectList::SlotCount> slots{};
    slots[0] = 1;
    slots[1] = 2;
    slots[5] = 20;
    effects.Build(slots);
    texts.mode["1"] = "Wave";
    texts.mode["2"] = "Flash wave";
    texts.mode["20"] = "Per-key colors";
    texts.light["Color"] = "Colour";
    texts.light["JColor"] = "Base colour";
    mode.mode = 20;

    const auto view = Build();
    EXPECT_EQ(view.effectNames, (std::vector<std::string>{"Wave", "Flash wave", "Per-key colors"}));
    EXPECT_EQ(view.selectedEffect, 2);
    EXPECT_EQ(view.labels.at(c::HXysStatic), "Colour");
    EXPECT_EQ(view.labels.at(c::USERysStatic), "Colour");
    EXPECT_EQ(view.labels.at(c::USERjsStatic), "Base colour");
    EXPECT_EQ(view.labels.at(c::DengStatic), "#Error");
    EXPECT_EQ(view.labels.at(c::RGBStatic), "RGB");

    mode.mode = 5;  // not offered by this keyboard
    EXPECT_EQ(Build().selectedEffect, -1);
}

}  // namespace
}  // namespace trevolin::lighting
