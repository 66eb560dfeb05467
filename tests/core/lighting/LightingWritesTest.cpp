#include "LightingRig.h"

#include "core/lighting/LightingResults.h"
#include "core/lighting/PanelControls.h"

#include <gtest/gtest.h>

#include <functional>

namespace trevolin::lighting {
namespace {

using test::LightingRig;
using test::Write6;
using Lines = std::vector<std::string>;

class LightingWritesTest : public ::testing::Test {
protected:
    LightingWritesTest()
    {
        rig.SetEffects({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20, 19, 25});
        // Profile 2 runs effect 1 with the defaults.
        const uint8_t record[] = {1, 4, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF};
        std::copy(std::begin(record), std::end(record), rig.Record(2));
        rig.Connect(2);
    }

    static Lines Bracketed(Lines writes)
    {
        writes.insert(writes.begin(), "1");
        writes.push_back("2");
        return writes;
    }

    LightingRig rig;
    LightingController& lighting = rig.controller;
};

TEST_F(LightingWritesTest, EachControlWritesItsFieldAtOnce)
{
    // Profile 2's record starts at 84.
    const std::vector<std::tuple<const char*, std::function<int()>, Lines>> cases = {
        {"brightness 3", [&] { return lighting.BrightnessChanged(3); }, {Write6(85, {3})}},
        {"speed slider left end", [&] { return lighting.SpeedChanged(0); }, {Write6(86, {4})}},
        {"speed slider right end", [&] { return lighting.SliderMoved(control::SpeedSlider, 4); }, {Write6(86, {0})}},
        {"direction left", [&] { return lighting.DirectionChosen(255); }, {Write6(87, {0xFF})}},
        {"direction right", [&] { return lighting.DirectionChosen(0); }, {Write6(87, {0})}},
        {"colour",
         [&] {
             return lighting.ColourChosen({10, 20, 30});
         },
         {Write6(88, {0}), Write6(89, {10, 20, 30})}},
        // The colour switched multicolour off.
        {"multicolour toggled on", [&] { return lighting.MulticolourToggled(); }, {Write6(88, {1})}},
        {"multicolour toggled off", [&] { return lighting.MulticolourToggled(); }, {Write6(88, {0})}},
        {"preset 3", [&] { return lighting.PresetChosen(2); }, {Write6(88, {0}), Write6(89, {0, 126, 255})}},
        {"colour choice 3", [&] { return lighting.ColourChoiceChosen(3); }, {Write6(102, {3})}},
        {"report rate 2", [&] { return lighting.ReportRateChosen(2); }, {Write6(99, {2})}},
        // The preset switched multicolour off; effects with a colour send the flag again.
        {"effect 5", [&] { return lighting.ChooseEffect(5); }, {Write6(84, {5}), Write6(88, {0})}},
        {"effect 10", [&] { return lighting.ChooseEffect(10); }, {Write6(84, {10})}},
        {"effect 12 by list index", [&] { return lighting.EffectChanged(11); }, {Write6(84, {12})}},
        {"effect 20", [&] { return lighting.ChooseEffect(20); }, {Write6(84, {20})}},
    };
    for (const auto& [name, change, writes] : cases) {
        rig.fake.written.clear();
        EXPECT_EQ(change(), 1) << name;
        EXPECT_EQ(rig.Sent(), Bracketed(writes)) << name;
    }

    // One command 6 with one data byte: length 1.
    rig.fake.written.clear();
    static_cast<void>(lighting.BrightnessChanged(2));
    ASSERT_EQ(rig.fake.written.size(), 3u);
    EXPECT_EQ(rig.fake.written[1].Length(), 1);
    EXPECT_EQ(rig.fake.written[1][5], 85);
    EXPECT_EQ(rig.fake.written[1][6], 0);

    const LightMode& mode = lighting.Mode();
    EXPECT_EQ(mode.mode, 20);
    EXPECT_EQ(mode.brightness, 2);
    EXPECT_EQ(mode.speed, 0);
    EXPECT_EQ(mode.direction, 0);
    EXPECT_EQ(mode.colourChoice, 3);
    EXPECT_EQ(mode.reportRate, 2);
}

TEST_F(LightingWritesTest, ASliderMovedOntoItsOwnValueSendsNothing)
{
    ASSERT_EQ(lighting.Mode().brightness, 4);
    ASSERT_EQ(lighting.Mode().speed, 2);
    EXPECT_EQ(lighting.BrightnessChanged(4), 1);
    EXPECT_EQ(lighting.SliderMoved(control::LightSlider, 4), 1);
    EXPECT_EQ(lighting.SpeedChanged(2), 1);
    EXPECT_TRUE(rig.Sent().empty());
}

// A value asked for by name: what the keyboard holds is not sent again,
// anything else goes through the panel's own operation.
TEST_F(LightingWritesTest, ASettingTheKeyboardHoldsIsNotSentAgain)
{
    using Field = LightingSetting::Field;
    const std::vector<std::tuple<const char*, LightingSetting, Lines>> cases = {
        {"effect held", {Field::Effect, 1}, {}},
        {"brightness held", {Field::Brightness, 4}, {}},
        {"speed position held", {Field::Speed, 2}, {}},
        {"direction held", {Field::Direction, 0}, {}},
        {"multicolour held", {Field::Multicolour, 1}, {}},
        {"brightness", {Field::Brightness, 3}, {Write6(85, {3})}},
        {"speed position", {Field::Speed, 0}, {Write6(86, {4})}},
        // The colour of a multicolour record is not what the keys show.
        {"white while multicolour",
         LightingSetting(RgbColor{255, 255, 255}),
         {Write6(88, {0}), Write6(89, {255, 255, 255})}},
        {"white again", LightingSetting(RgbColor{255, 255, 255}), {}},
        {"multicolour off, held now", {Field::Multicolour, 0}, {}},
        {"multicolour on", {Field::Multicolour, 1}, {Write6(88, {1})}},
        {"report rate", {Field::ReportRate, 2}, {Write6(99, {2})}},
        {"report rate again", {Field::ReportRate, 2}, {}},
    };
    for (const auto& [name, setting, writes] : cases) {
        rig.fake.written.clear();
        EXPECT_EQ(lighting.Holds(setting), writes.empty()) << name;
        EXPECT_EQ(lighting.Set(setting), 1) << name;
        EXPECT_EQ(rig.Sent(), writes.empty() ? Lines{} : Bracketed(writes)) << name;
    }
}

TEST_F(LightingWritesTest, RequestsOutOfRangeChangeAndSendNothing)
{
    const LightMode before = lighting.Mode();
    const std::vector<std::pair<const char*, std::function<int()>>> cases = {
        {"brightness 5", [&] { return lighting.BrightnessChanged(5); }},
        {"speed position -1", [&] { return lighting.SpeedChanged(-1); }},
        {"another slider", [&] { return lighting.SliderMoved(1177, 1); }},
        {"direction 7", [&] { return lighting.DirectionChosen(7); }},
        {"colour choice 4", [&] { return lighting.ColourChoiceChosen(4); }},
        {"report rate 4", [&] { return lighting.ReportRateChosen(4); }},
        {"preset 9", [&] { return lighting.PresetChosen(8); }},
        {"list index past the end", [&] { return lighting.EffectChanged(21); }},
        {"effect the keyboard does not offer", [&] { return lighting.ChooseEffect(21); }},
    };
    for (const auto& [name, change] : cases)
        EXPECT_EQ(change(), ResultRejected) << name;
    EXPECT_TRUE(rig.Sent().empty());
    EXPECT_EQ(lighting.Mode(), before);
}

// Left as it was, the panel still offers the list to choose another: one
// that hid every control, the list included, left no way back but turning
// the view off and on.
TEST_F(LightingWritesTest, AnEffectTheProgramDoesNotHandleSendsNothingAndChangesNothing)
{
    ASSERT_TRUE(lighting.TurnLightingViewOn());
    const PanelView before = lighting.View(rig.texts);
    ASSERT_TRUE(before.IsVisible(control::XGcombox));
    rig.fake.written.clear();

    EXPECT_EQ(lighting.EffectChanged(19), ResultRejected);  // effect 19
    EXPECT_EQ(lighting.ChooseEffect(25), ResultRejected);
    EXPECT_TRUE(rig.Sent().empty());
    // The keyboard still runs effect 1, and the panel says so.
    EXPECT_EQ(lighting.Mode().mode, 1);
    const PanelView view = lighting.View(rig.texts);
    EXPECT_EQ(view.visible, before.visible);
    EXPECT_TRUE(view.IsVisible(control::XGcombox));
    EXPECT_TRUE(view.IsVisible(control::LightSlider));
    EXPECT_EQ(view.selectedEffect, 0);
}

TEST_F(LightingWritesTest, ColourPickersAndPresetsLeaveThePanelShowingWhatTheKeyboardHas)
{
    ASSERT_TRUE(lighting.Mode().multicolour);
    static_cast<void>(lighting.ColourChosen({1, 2, 3}));
    auto view = lighting.View(rig.texts);
    EXPECT_EQ(view.groupAColour, (RgbColor{1, 2, 3}));
    EXPECT_EQ(view.groupBColour, (RgbColor{1, 2, 3}));
    EXPECT_EQ(view.Picture(control::HXsjsStaPic), "sjsup.bmp");

    static_cast<void>(lighting.MulticolourToggled());
    static_cast<void>(lighting.PresetChosen(7));  // 174, 0, 255
    view = lighting.View(rig.texts);
    EXPECT_EQ(view.numberFields, (std::array<std::string, 3>{"174", "0", "255"}));
    EXPECT_EQ(lighting.Mode().colour, (RgbColor{174, 0, 255}));
    EXPECT_FALSE(lighting.Mode().multicolour);
    EXPECT_EQ(view.groupBColour, (RgbColor{174, 0, 255}));

    // Choosing an effect again sends the flag the keyboard now has: off.
    rig.fake.written.clear();
    static_cast<void>(lighting.ChooseEffect(1));
    EXPECT_EQ(rig.Sent(), Bracketed({Write6(84, {1}), Write6(88, {0})}));
}

TEST_F(LightingWritesTest, NumberFieldsHoldAtMost255)
{
    EXPECT_EQ(lighting.NumberFieldEdited(0, "300"), "255");
    EXPECT_EQ(lighting.NumberFieldEdited(1, "256"), "255");
    EXPECT_EQ(lighting.NumberFieldEdited(2, "255"), "255");
    EXPECT_EQ(lighting.NumberFieldEdited(2, "99999999999999999999"), "255");
    EXPECT_EQ(lighting.NumberFieldEdited(1, "1x2"), "12");
    EXPECT_EQ(lighting.NumberFieldEdited(0, ""), "");
    EXPECT_EQ(lighting.NumberFieldEdited(3, "5"), "");
    EXPECT_EQ(lighting.View(rig.texts).numberFields, (std::array<std::string, 3>{"", "12", "255"}));
    EXPECT_TRUE(rig.Sent().empty());
}

TEST_F(LightingWritesTest, AFailedWriteStillChangesTheModel)
{
    rig.keyboard.statusOf = {{6, device::StatusRefused}};
    EXPECT_EQ(lighting.BrightnessChanged(1), device::ResultRefused);
    EXPECT_EQ(lighting.Mode().brightness, 1);
    // The bracket goes out whatever the writes did; the write was tried three times.
    EXPECT_EQ(rig.Sent(), (Lines{"1", Write6(85, {1}), Write6(85, {1}), Write6(85, {1}), "2"}));
}

TEST_F(LightingWritesTest, RestoreDefaultsSendsEffect1ThenTheDefaultRecord)
{
    rig.SetEffects({1, 2, 5});  // no per-key effect
    static_cast<void>(rig.controller.OnLightingChanged());
    static_cast<void>(lighting.ColourChosen({9, 9, 9}));
    static_cast<void>(lighting.ReportRateChosen(3));
    rig.fake.written.clear();

    EXPECT_EQ(lighting.RestoreDefaults(), 1);
    const Lines expected = {
        "1",
        Write6(84, {1}),
        Write6(88, {0}),
        "2",
        "1",
        Write6(84, {0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                    0,    0,    0,    0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0}),
        "2",
    };
    EXPECT_EQ(rig.Sent(), expected);
    EXPECT_EQ(rig.fake.written[5].Length(), 35);
    EXPECT_EQ(lighting.Mode(), LightMode{});
}

}  // namespace
}  // namespace trevolin::lighting
