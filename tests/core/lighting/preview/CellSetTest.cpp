#include "core/lighting/preview/CellSet.h"

#include <gtest/gtest.h>

namespace trevolin::lighting::preview {
namespace {

struct FadeCase {
    FadeRule rule;
    uint8_t level;
    uint8_t faded;
};

class PreviewFade : public ::testing::TestWithParam<FadeCase> {};

TEST_P(PreviewFade, StepsDownByTheBandOfTheLevel)
{
    EXPECT_EQ(CellSet::Faded(GetParam().level, GetParam().rule), GetParam().faded);
}

INSTANTIATE_TEST_SUITE_P(Rules, PreviewFade,
                         ::testing::Values(
                             // ripple: 80 / 50 / 20
                             FadeCase{RippleFade, 255, 175}, FadeCase{RippleFade, 128, 48},
                             FadeCase{RippleFade, 127, 77}, FadeCase{RippleFade, 64, 14}, FadeCase{RippleFade, 63, 43},
                             FadeCase{RippleFade, 32, 12},
                             // show: 30 / 20 / 10
                             FadeCase{ShowFade, 255, 225}, FadeCase{ShowFade, 105, 85}, FadeCase{ShowFade, 45, 35},
                             // rain and bounce: 20 / 16 / 10
                             FadeCase{RainFade, 255, 235}, FadeCase{RainFade, 100, 84}, FadeCase{RainFade, 40, 30},
                             // the tail is the same for every rule: bit 0x20 clear below 32
                             FadeCase{RainFade, 31, 26}, FadeCase{RainFade, 17, 12}, FadeCase{RainFade, 16, 15},
                             FadeCase{RippleFade, 1, 0}, FadeCase{ShowFade, 0, 0}, FadeCase{ShowFade, 96, 76},
                             FadeCase{RainFade, 160, 140}));

TEST(PreviewCellSet, FadingRunsEveryLitCellDownToDarkAndStays)
{
    for (FadeRule rule : {RippleFade, ShowFade, RainFade}) {
        CellSet set(rule);
        set.Light(7, 255);
        int frames = 0;
        uint8_t previous = 255;
        while (set.Level(7) != 0 && frames < 100) {
            const uint8_t level = set.Fade(7);
            EXPECT_LT(level, previous);
            previous = level;
            ++frames;
        }
        EXPECT_EQ(set.Level(7), 0);
        EXPECT_LT(frames, 100);
        EXPECT_EQ(set.Fade(7), 0);
        EXPECT_EQ(set.Level(8), 0);
    }
}

TEST(PreviewCellSet, CellsOutsideTheArraysHoldNothing)
{
    CellSet set(RainFade);
    set.Light(NoCell, 255);
    set.SetColorIndex(NoCell, 9);
    EXPECT_EQ(set.Level(NoCell), 0);
    EXPECT_EQ(set.ColorIndex(NoCell), 0);
    EXPECT_EQ(set.Fade(NoCell), 0);

    set.Light(127, 200);
    set.SetColorIndex(127, 9);
    set.Clear();
    EXPECT_EQ(set.Level(127), 0);
    EXPECT_EQ(set.ColorIndex(127), 0);
}

}  // namespace
}  // namespace trevolin::lighting::preview
