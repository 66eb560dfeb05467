#include "core/lighting/preview/ColorWheel.h"
#include "core/lighting/preview/LevelCurves.h"
#include "core/lighting/preview/PreviewEngine.h"
#include "core/lighting/preview/PreviewKeys.h"

#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace trevolin::lighting::preview {
namespace {

using test::Button;
using test::CaptionOf;
using test::FakeRandomSource;
using test::Mod;
using test::WheelIndexOf;

constexpr TintColor Amber{200, 100, 50};
constexpr TintColor White{255, 255, 255};
constexpr TintColor Black{0, 0, 0};

PreviewSettings Settings(uint8_t mode, bool multicolor, uint8_t direction, TintColor color = Amber)
{
    return {mode, direction, static_cast<uint8_t>(multicolor ? 255 : 0), color};
}

KeyTint Set(TintColor color)
{
    return {TintChange::Set, color};
}

const PreviewLayout& Layout()
{
    return PreviewLayout::Instance();
}

// What the buttons show after a frame, for effects that fill whole rows or
// listings: the last tint a key gets in a frame is the one it keeps.
using Expected = std::map<uint8_t, TintColor>;

Expected OverGrid(const std::function<TintColor(size_t row, size_t column)>& colorAt)
{
    Expected expected;
    for (size_t r = 0; r < GridRows; ++r)
        for (size_t c = 0; c < GridColumns; ++c)
            if (Layout().grid[r][c] != NoButton)
                expected[Layout().grid[r][c]] = colorAt(r, c);
    return expected;
}

Expected OverListings(const std::function<TintColor(size_t listing)>& colorAt)
{
    Expected expected;
    for (size_t i = 0; i < ListingCount; ++i)
        expected[Layout().listings[i].button] = colorAt(i);
    return expected;
}

Expected OverDiagonal(const std::function<TintColor(size_t row)>& colorAt)
{
    Expected expected;
    for (size_t r = 0; r < DiagonalRows; ++r)
        for (uint8_t button : Layout().diagonal[r])
            if (button != NoButton)
                expected[button] = colorAt(r);
    return expected;
}

// Every button named gets exactly its colour; every other one is left alone.
void ExpectTints(const PreviewTints& tints, const Expected& expected, int frame)
{
    for (size_t button = 0; button < PreviewButtonCount; ++button) {
        const auto it = expected.find(static_cast<uint8_t>(button));
        const KeyTint want = it == expected.end() ? KeyTint{} : Set(it->second);
        ASSERT_EQ(tints[button], want) << "frame " << frame << ", key " << CaptionOf(static_cast<uint8_t>(button))
                                       << " (button " << button << ")";
    }
}

TEST(PreviewEngine, WithTheViewOffNothingChangesAndNothingMoves)
{
    FakeRandomSource random;
    PreviewEngine engine(random);
    for (uint8_t mode : std::initializer_list<uint8_t>{1, 4, 7, 10, 13, 15, 20, 99}) {
        for (int frame = 0; frame < 5; ++frame) {
            for (const KeyTint& tint : engine.Frame(Settings(mode, true, 0), false))
                ASSERT_EQ(tint.change, TintChange::Keep) << int{mode};
        }
    }
    EXPECT_TRUE(engine.ResetPending());
    EXPECT_TRUE(random.seeds.empty());
    EXPECT_EQ(random.draws, 0);

    // The colour cycle starts where it would have without the idle frames.
    const PreviewTints& tints = engine.Frame(Settings(4, true, 0), true);
    EXPECT_EQ(tints[Button(key::Esc)], Set(WheelColor(190)));
    EXPECT_FALSE(engine.ResetPending());
}

TEST(PreviewEngine, ColourCycleWalksTheWheelTwoEntriesAFrame)
{
    for (uint8_t direction : {uint8_t{0}, uint8_t{255}}) {
        FakeRandomSource random;
        PreviewEngine engine(random);
        const int sign = direction ? 1 : -1;
        for (int f = 1; f <= 200; ++f) {
            const TintColor color = WheelColor(static_cast<size_t>(Mod(sign * 2 * f, 192)));
            ExpectTints(engine.Frame(Settings(4, false, direction), true),
                        OverGrid([&](size_t, size_t) { return color; }), f);
        }
    }

    FakeRandomSource random;
    PreviewEngine engine(random);
    std::vector<int> shown;
    for (int f = 0; f < 4; ++f)
        shown.push_back(*WheelIndexOf(engine.Frame(Settings(4, true, 0), true)[Button(key::Esc)].color));
    EXPECT_EQ(shown, (std::vector<int>{190, 188, 186, 184}));
}

TEST(PreviewEngine, RowWaveKeepsEachRow32StepsAheadOfTheRowAbove)
{
    for (uint8_t direction : {uint8_t{0}, uint8_t{255}}) {
        FakeRandomSource random;
        PreviewEngine engine(random);
        const int sign = direction ? 1 : -1;
        for (int f = 1; f <= 150; ++f) {
            const PreviewTints& tints = engine.Frame(Settings(12, false, direction), true);
            const std::optional<int> top = WheelIndexOf(tints[Button(key::Esc)].color);
            ASSERT_TRUE(top);
            EXPECT_EQ(*top, Mod(sign * 3 * f, 192));
            ExpectTints(tints,
                        OverGrid([&](size_t r, size_t) { return WheelColor(static_cast<size_t>(*top) + 32 * r); }), f);
        }
    }
}

struct GridWaveCase {
    std::string name;
    PreviewSettings settings;
    std::function<TintColor(int frame, size_t column)> colorAt;
};

TEST(PreviewEngine, GridWavesFollowTheirCurvesAcrossTheColumns)
{
    const auto pulse = PulseCurve();
    const auto flash = FlashCurve();
    const auto breathing = BreathingCurve();
    auto wheel = [](int x) { return WheelColor(static_cast<size_t>(Mod(x, 192))); };
    auto at = [](auto curve, int x, int length) { return curve[static_cast<size_t>(Mod(x, length))]; };
    const auto col = [](size_t c) { return static_cast<int>(c); };

    const std::vector<GridWaveCase> cases = {
        {"wave, wheel, left", Settings(1, true, 255), [&](int f, size_t c) { return wheel(9 * f + 9 * col(c)); }},
        {"wave, wheel, right", Settings(1, true, 0), [&](int f, size_t c) { return wheel(-9 * f + 9 * col(c)); }},
        {"wave, pulse, left", Settings(1, false, 255),
         [&](int f, size_t c) { return Scaled(Amber, at(pulse, 7 * f + 7 * col(c), 96)); }},
        {"wave, pulse, right", Settings(1, false, 0),
         [&](int f, size_t c) { return Scaled(Amber, at(pulse, -7 * f + 7 * col(c), 96)); }},
        {"flash wave, wheel, left", Settings(2, true, 255), [&](int f, size_t c) { return wheel(4 * f + 5 * col(c)); }},
        {"flash wave, wheel, right", Settings(2, true, 0), [&](int f, size_t c) { return wheel(-4 * f + 5 * col(c)); }},
        {"flash wave, flash, left", Settings(2, false, 255),
         [&](int f, size_t c) { return Scaled(Amber, at(flash, 4 * f + 5 * (col(c) + 1), 128)); }},
        {"flash wave, flash, right", Settings(2, false, 0),
         [&](int f, size_t c) { return Scaled(Amber, at(flash, 4 * f - 5 * (col(c) + 1), 128)); }},
        {"breathing, wheel", Settings(5, true, 0),
         [&](int f, size_t c) { return Scaled(WheelColor(7 * c), at(breathing, 2 * f, 128)); }},
        {"breathing, colour", Settings(5, false, 255),
         [&](int f, size_t) { return Scaled(Amber, at(breathing, 2 * f, 128)); }},
    };
    for (const GridWaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRandomSource random;
        PreviewEngine engine(random);
        for (int f = 1; f <= 260; ++f)
            ExpectTints(engine.Frame(c.settings, true),
                        OverGrid([&](size_t, size_t column) { return c.colorAt(f, column); }), f);
    }
}

TEST(PreviewEngine, ColourModesShareOnePhaseWithoutLeavingTheirCurves)
{
    // The wave's phase runs over 192 on the wheel and over 96 on the pulse;
    // switching mode carries on from the same phase, brought into range.
    auto pulseFrom = [](int phase) {
        return OverGrid([phase](size_t, size_t c) {
            return Scaled(Amber, PulseCurve()[static_cast<size_t>(phase + 7 * static_cast<int>(c)) % 96]);
        });
    };
    FakeRandomSource random;
    PreviewEngine engine(random);
    for (int f = 0; f < 38; ++f)
        engine.Frame(Settings(1, true, 0), true);  // phase -342, that is 42
    ExpectTints(engine.Frame(Settings(1, false, 255), true), pulseFrom(49), 39);

    for (int f = 0; f < 30; ++f)
        engine.Frame(Settings(1, true, 255), true);  // 49 + 270 = 319, that is 127
    // 127 - 7 = 120, past the pulse's end: 24
    ExpectTints(engine.Frame(Settings(1, false, 0), true), pulseFrom(24), 70);
}

TEST(PreviewEngine, SnakeWalksTheListingsFiveStepsApart)
{
    for (bool multicolor : {true, false}) {
        for (uint8_t direction : {uint8_t{0}, uint8_t{255}}) {
            SCOPED_TRACE(std::string(multicolor ? "wheel" : "pulse") + (direction ? ", left" : ", right"));
            FakeRandomSource random;
            PreviewEngine engine(random);
            const int sign = direction ? 1 : -1;
            const int cycle = multicolor ? 192 : 96;
            for (int f = 1; f <= 200; ++f) {
                const int phase = Mod(sign * 4 * f, cycle);
                ExpectTints(engine.Frame(Settings(3, multicolor, direction), true), OverListings([&](size_t i) {
                                const int x = (phase + 5 * static_cast<int>(i)) % cycle;
                                return multicolor ? WheelColor(static_cast<size_t>(x))
                                                  : Scaled(Amber, PulseCurve()[static_cast<size_t>(x)]);
                            }),
                            f);
            }
        }
    }
}

TEST(PreviewEngine, StaticShowsTheColourOrTheDiagonalRainbow)
{
    FakeRandomSource random;
    PreviewEngine engine(random);
    for (int f = 1; f <= 3; ++f)
        ExpectTints(engine.Frame(Settings(6, false, 0), true), OverGrid([](size_t, size_t) { return Amber; }), f);
    for (int f = 1; f <= 3; ++f)
        ExpectTints(engine.Frame(Settings(6, true, 0), true),
                    OverDiagonal([](size_t r) { return WheelColor(128 - 12 * r); }), f);
    EXPECT_EQ(engine.Frame(Settings(6, true, 0), true)[Button(key::U)], Set(WheelColor(128)));
    EXPECT_EQ(engine.Frame(Settings(6, true, 0), true)[Button(key::KpStar)], Set(WheelColor(8)));
}

TEST(PreviewEngine, RainbowPerKeyStartsNeighboursASixthOfTheWheelApart)
{
    FakeRandomSource random;
    PreviewEngine engine(random);
    for (int f = 1; f <= 200; ++f) {
        // Choosing an effect restarts other animations, never this one.
        if (f == 100)
            engine.RequestReset();
        ExpectTints(engine.Frame(Settings(11, false, 0), true), OverListings([&](size_t i) {
                        return WheelColor(static_cast<size_t>(33 * (static_cast<int>(i) + 1) + 3 * f));
                    }),
                    f);
    }
}

TEST(PreviewEngine, RainbowPerKeyKeepsTheKeyWhoseStartIsAFullTurnOnTheWheel)
{
    // "N", the 64th listing, starts at 64 × 33 = 11 full turns.
    FakeRandomSource random;
    PreviewEngine engine(random);
    EXPECT_EQ(engine.Frame(Settings(11, true, 0), true)[Button(key::N)], Set(WheelColor(3)));
    for (int f = 2; f <= 400; ++f) {
        const KeyTint tint = engine.Frame(Settings(11, true, 0), true)[Button(key::N)];
        ASSERT_EQ(tint, Set(WheelColor(static_cast<size_t>(3 * f)))) << f;
    }
}

TEST(PreviewEngine, DiagonalWaveRunsTheSharedCounterRoundBothWays)
{
    for (uint8_t direction : {uint8_t{0}, uint8_t{255}}) {
        FakeRandomSource random;
        PreviewEngine engine(random);
        for (int f = 1; f <= 250; ++f) {
            // Down, the counter runs 192, 190, ..., 0 and then from 192 again.
            const int counter = direction ? (2 * f) % 192 : 194 - 2 * ((f - 1) % 97 + 1);
            ExpectTints(engine.Frame(Settings(18, false, direction), true), OverDiagonal([&](size_t r) {
                            return WheelColor(static_cast<size_t>((counter + 21 * (static_cast<int>(r) + 1)) % 192));
                        }),
                        f);
        }
    }
}

TEST(PreviewEngine, SparkleLightsThreeListingsAFrameWithColoursDrawnAfterReseeding)
{
    FakeRandomSource random;
    random.queued = {300, 7, 600};
    PreviewEngine engine(random);

    Expected expected = OverListings([](size_t) { return Black; });
    expected[Button(key::RightAlt)] = Scaled(TableColor(45), 235);
    expected[Button(key::Apostrophe)] = Scaled(TableColor(7), 235);
    expected[Button(key::K45)] = Scaled(TableColor(90), 235);
    ExpectTints(engine.Frame(Settings(10, true, 0), true), expected, 1);
    EXPECT_EQ(random.seeds, (std::vector<uint32_t>{1000}));
    EXPECT_EQ(random.draws, 3);

    random.now = 1001;
    random.queued = {255, 256, 1};
    expected[Button(key::RightAlt)] = Scaled(TableColor(45), 215);
    expected[Button(key::Apostrophe)] = Scaled(TableColor(7), 215);
    expected[Button(key::K45)] = Scaled(TableColor(90), 215);
    expected[Button(key::Backquote)] = Scaled(TableColor(0), 235);
    expected[Button(key::Up)] = Scaled(TableColor(1), 235);
    expected[Button(key::Kp3)] = Scaled(TableColor(1), 235);
    ExpectTints(engine.Frame(Settings(10, true, 0), true), expected, 2);
    EXPECT_EQ(random.seeds, (std::vector<uint32_t>{1000, 1001}));

    // One colour: the same keys, the light mode's colour, and still three draws.
    FakeRandomSource plain;
    PreviewEngine single(plain);
    const PreviewTints& tints = single.Frame(Settings(10, false, 0), true);
    EXPECT_EQ(tints[Button(key::RightAlt)], Set(Scaled(Amber, 235)));
    EXPECT_EQ(tints[Button(key::Esc)], Set(Black));
    EXPECT_EQ(plain.draws, 3);
}

TEST(PreviewEngine, RainDropsThreeColumnsAFrameFromItsSeed)
{
    FakeRandomSource random;
    random.queued = {510, 256, 1000};
    PreviewEngine engine(random);

    // The counter starts at 0: columns 10, 13 and 16 of the top row.
    Expected expected = OverListings([](size_t) { return Black; });
    expected[Button(key::F7)] = Scaled(TableColor(0), 235);
    expected[Button(key::F10)] = Scaled(TableColor(1), 235);
    expected[Button(key::NumLock)] = Scaled(TableColor(235), 235);
    ExpectTints(engine.Frame(Settings(15, true, 0), true), expected, 1);
    EXPECT_EQ(random.seeds, (std::vector<uint32_t>{1000}));

    FakeRandomSource plain;
    PreviewEngine single(plain);
    Expected lit = OverListings([](size_t) { return Black; });
    for (uint16_t k : {key::F7, key::F10, key::NumLock})
        lit[Button(k)] = Scaled(Amber, 235);
    ExpectTints(single.Frame(Settings(15, false, 0), true), lit, 1);

    // The drops move down a row; columns 3, 6 and 9 get new ones; the seed
    // below column 9 rises into the bottom row.
    for (uint16_t k : {key::F7, key::F10, key::NumLock})
        lit[Button(k)] = Scaled(Amber, 215);
    for (uint16_t k : {key::Digit9, key::Equals, key::Kp7, key::F1, key::F4, key::F6, key::RightAlt})
        lit[Button(k)] = Scaled(Amber, 235);
    ExpectTints(single.Frame(Settings(15, false, 0), true), lit, 2);
    EXPECT_EQ(plain.draws, 0);
}

TEST(PreviewEngine, BounceStartsAtTheTopLeftCorner)
{
    FakeRandomSource random;
    PreviewEngine engine(random);
    Expected expected = OverListings([](size_t) { return Black; });
    ExpectTints(engine.Frame(Settings(16, false, 0), true), expected, 1);
    expected[Button(key::Esc)] = Scaled(Amber, 235);
    expected[Button(key::Backquote)] = Scaled(Amber, 235);
    ExpectTints(engine.Frame(Settings(16, false, 0), true), expected, 2);
}

TEST(PreviewEngine, RippleRisesFromBelowTheMiddleColumn)
{
    FakeRandomSource random;
    PreviewEngine engine(random);
    Expected expected = OverListings([](size_t) { return Black; });
    ExpectTints(engine.Frame(Settings(13, false, 0), true), expected, 1);
    expected[Button(key::RightAlt)] = Scaled(Amber, 175);
    ExpectTints(engine.Frame(Settings(13, false, 0), true), expected, 2);
}

std::vector<PreviewTints> Record(PreviewEngine& engine, uint8_t mode, int frames)
{
    std::vector<PreviewTints> out;
    for (int f = 0; f < frames; ++f)
        out.push_back(engine.Frame(Settings(mode, true, 0), true));
    return out;
}

TEST(PreviewEngine, ChoosingAnotherEffectAndBackRestartsRainAndBounceFromTheirSeeds)
{
    for (uint8_t mode : {uint8_t{15}, uint8_t{16}}) {
        SCOPED_TRACE(int{mode});
        const uint8_t other = mode == 15 ? 16 : 15;

        FakeRandomSource firstRandom;
        PreviewEngine first(firstRandom);
        const std::vector<PreviewTints> fresh = Record(first, mode, 60);

        FakeRandomSource againRandom;
        PreviewEngine again(againRandom);
        Record(again, mode, 37);
        again.RequestReset();
        Record(again, other, 23);
        again.RequestReset();
        EXPECT_EQ(Record(again, mode, 60), fresh);

        // Without the reset the animation carries on where it was.
        FakeRandomSource carryRandom;
        PreviewEngine carry(carryRandom);
        Record(carry, mode, 37);
        Record(carry, other, 23);
        EXPECT_NE(Record(carry, mode, 60), fresh);
    }
}

TEST(PreviewEngine, ShowPlaysItsScriptThenTheWaveAndLoops)
{
    FakeRandomSource random;
    PreviewEngine engine(random);

    // The colour counter gains one a frame and eleven per key lit.
    Expected expected = OverListings([](size_t) { return Black; });
    ExpectTints(engine.Frame(Settings(14, true, 0), true), expected, 1);
    expected[Button(key::Esc)] = Scaled(TableColor(13), 225);
    expected[Button(key::KpPlus)] = Scaled(TableColor(24), 225);
    ExpectTints(engine.Frame(Settings(14, true, 0), true), expected, 2);
    expected[Button(key::Esc)] = Scaled(TableColor(13), 195);
    expected[Button(key::KpPlus)] = Scaled(TableColor(24), 195);
    expected[Button(key::F1)] = Scaled(TableColor(36), 225);
    expected[Button(key::Print)] = Scaled(TableColor(47), 225);
    ExpectTints(engine.Frame(Settings(14, true, 0), true), expected, 3);

    // In one colour: step 1 of the script lights Esc and "+" together; in
    // between, the wave from "U" reaches "+" thirteen frames after it starts,
    // and only then does the script begin again.
    FakeRandomSource plain;
    PreviewEngine show(plain);
    const TintColor justLit = Scaled(White, 225);
    std::vector<int> scriptStarts, plusAlone, uLit;
    for (int f = 1; f <= 400; ++f) {
        const PreviewTints& tints = show.Frame(Settings(14, false, 0, White), true);
        const bool esc = tints[Button(key::Esc)].color == justLit;
        const bool plus = tints[Button(key::KpPlus)].color == justLit;
        if (esc && plus)
            scriptStarts.push_back(f);
        else if (plus)
            plusAlone.push_back(f);
        if (tints[Button(key::U)].color == justLit)
            uLit.push_back(f);
    }
    ASSERT_GE(scriptStarts.size(), 2u);
    EXPECT_EQ(scriptStarts[0], 2);
    EXPECT_GT(scriptStarts[1] - scriptStarts[0], 20 + 31);
    ASSERT_FALSE(plusAlone.empty());
    EXPECT_GT(plusAlone[0], 20 + 31);
    EXPECT_LT(plusAlone[0], scriptStarts[1]);
    EXPECT_NE(std::find(uLit.begin(), uLit.end(), plusAlone[0] - 13), uLit.end());
}

TEST(PreviewEngine, ShowStartsItsScriptOverWhenTheSharedCounterComesFromAnotherEffect)
{
    // No reset between: the diagonal wave leaves the shared counter at 100,
    // far past the script's 20 steps.
    FakeRandomSource random;
    PreviewEngine engine(random);
    for (int f = 0; f < 50; ++f)
        engine.Frame(Settings(18, false, 255), true);
    const TintColor justLit = Scaled(White, 225);
    EXPECT_NE(engine.Frame(Settings(14, false, 0, White), true)[Button(key::Esc)].color, justLit);
    const PreviewTints& tints = engine.Frame(Settings(14, false, 0, White), true);
    EXPECT_EQ(tints[Button(key::Esc)].color, justLit);
    EXPECT_EQ(tints[Button(key::KpPlus)].color, justLit);
}

TEST(PreviewEngine, EffectsThatCannotBeShownClearEveryKeyAndPerKeyColoursAreKept)
{
    FakeRandomSource random;
    PreviewEngine engine(random);
    for (uint8_t mode : std::initializer_list<uint8_t>{7, 8, 9, 17, 0, 19, 21, 255}) {
        for (const KeyTint& tint : engine.Frame(Settings(mode, true, 0), true))
            ASSERT_EQ(tint, (KeyTint{TintChange::Clear, {}})) << int{mode};
    }
    for (const KeyTint& tint : engine.Frame(Settings(20, true, 0), true))
        ASSERT_EQ(tint.change, TintChange::Keep);
}

}  // namespace
}  // namespace trevolin::lighting::preview
