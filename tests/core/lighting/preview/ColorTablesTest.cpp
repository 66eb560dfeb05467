#include "core/lighting/preview/ColorWheel.h"
#include "core/lighting/preview/LevelCurves.h"
#include "core/lighting/preview/TintColor.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace trevolin::lighting::preview {
namespace {

int ChannelsChanged(TintColor a, TintColor b)
{
    return (a.red != b.red) + (a.green != b.green) + (a.blue != b.blue);
}

TEST(PreviewColorWheel, SegmentsMeetAtThePureColours)
{
    EXPECT_EQ(WheelColor(0), (TintColor{255, 1, 0}));
    EXPECT_EQ(WheelColor(31), (TintColor{255, 255, 0}));
    EXPECT_EQ(WheelColor(32), (TintColor{248, 255, 0}));
    EXPECT_EQ(WheelColor(63), (TintColor{0, 255, 0}));
    EXPECT_EQ(WheelColor(64), (TintColor{0, 255, 1}));
    EXPECT_EQ(WheelColor(95), (TintColor{0, 255, 255}));
    EXPECT_EQ(WheelColor(127), (TintColor{0, 0, 255}));
    EXPECT_EQ(WheelColor(159), (TintColor{255, 0, 255}));
    EXPECT_EQ(WheelColor(173), (TintColor{255, 0, 94}));
    EXPECT_EQ(WheelColor(191), (TintColor{255, 0, 0}));
}

TEST(PreviewColorWheel, EveryStepMovesOneChannelAndNoColourRepeats)
{
    // A mistyped ramp value shows up as a repeated colour or a jump in two
    // channels at once.
    std::set<std::tuple<int, int, int>> seen;
    for (size_t i = 0; i < WheelSize; ++i) {
        const TintColor c = WheelColor(i);
        seen.insert({c.red, c.green, c.blue});
        EXPECT_EQ(ChannelsChanged(c, WheelColor((i + 1) % WheelSize)), 1) << i;
    }
    EXPECT_EQ(seen.size(), WheelSize);
}

TEST(PreviewColorWheel, TheByteTableRepeatsTheWheel)
{
    for (size_t k = 0; k < ColorTableSize; ++k)
        EXPECT_EQ(TableColor(static_cast<uint8_t>(k)), WheelColor(k % WheelSize)) << k;
    EXPECT_EQ(TableColor(200), (TintColor{255, 26, 0}));
    EXPECT_EQ(WheelColor(192 + 5), WheelColor(5));
}

TEST(PreviewLevelCurves, PulseRisesThenFallsBackSymmetrically)
{
    const auto pulse = PulseCurve();
    EXPECT_EQ(pulse[0], 22);
    EXPECT_EQ(pulse[20], 94);
    EXPECT_EQ(pulse[47], 255);
    EXPECT_EQ(pulse[48], 255);
    EXPECT_EQ(pulse[95], 22);
    for (size_t i = 0; i < PulseLength; ++i)
        EXPECT_EQ(pulse[i], pulse[PulseLength - 1 - i]) << i;
    for (size_t i = 1; i < PulseLength / 2; ++i)
        EXPECT_LT(pulse[i - 1], pulse[i]) << i;
}

TEST(PreviewLevelCurves, FlashPeaksEarlyAndEndsDark)
{
    const auto flash = FlashCurve();
    EXPECT_EQ(flash[0], 0);
    EXPECT_EQ(flash[16], 255);
    EXPECT_EQ(flash[36], 129);
    EXPECT_EQ(flash[78], 2);
    EXPECT_EQ(flash[79], 1);
    for (size_t i = 1; i <= 16; ++i)
        EXPECT_LT(flash[i - 1], flash[i]) << i;
    for (size_t i = 17; i < 80; ++i)
        EXPECT_LE(flash[i], flash[i - 1]) << i;
    for (size_t i = 80; i < FlashLength; ++i)
        EXPECT_EQ(flash[i], 0) << i;
}

TEST(PreviewLevelCurves, BreathingRisesFromAlmostDarkAndFallsBack)
{
    const auto breathing = BreathingCurve();
    EXPECT_EQ(breathing[0], 3);
    EXPECT_EQ(breathing[1], 3);
    EXPECT_EQ(breathing[13], 16);
    EXPECT_EQ(breathing[63], 255);
    EXPECT_EQ(breathing[64], 255);
    EXPECT_EQ(breathing[127], 3);
    for (size_t i = 0; i < BreathingLength; ++i)
        EXPECT_EQ(breathing[i], breathing[BreathingLength - 1 - i]) << i;
    for (size_t i = 1; i < BreathingLength / 2; ++i)
        EXPECT_LE(breathing[i - 1], breathing[i]) << i;
}

TEST(PreviewTintColor, ScalingTruncatesEachChannel)
{
    EXPECT_EQ(Scaled({255, 128, 7}, 128), (TintColor{128, 64, 3}));
    EXPECT_EQ(Scaled({200, 100, 50}, 255), (TintColor{200, 100, 50}));
    EXPECT_EQ(Scaled({200, 100, 50}, 0), (TintColor{0, 0, 0}));
    EXPECT_EQ(Scaled({255, 255, 255}, 1), (TintColor{1, 1, 1}));
    EXPECT_EQ(Scaled({254, 254, 254}, 1), (TintColor{0, 0, 0}));
}

}  // namespace
}  // namespace trevolin::lighting::preview
