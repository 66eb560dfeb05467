#include "core/lighting/preview/ColorWheel.h"
#include "core/lighting/preview/PreviewEngine.h"

#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

#include <bitset>
#include <string>
#include <unordered_set>
#include <vector>

namespace trevolin::lighting::preview {
namespace {

using test::CaptionOf;
using test::CellOfButton;
using test::FakeRandomSource;

constexpr TintColor Teal{20, 180, 160};

// Which buttons an effect tints on every frame.
enum class Keys { Grid, Listed, Diagonal, Cleared, Kept };

struct EffectCase {
    uint8_t mode;
    Keys wheel;   // with multicolour on
    Keys single;  // with one colour
};

const std::vector<EffectCase> Effects = {
    // clang-format off
    {1, Keys::Grid, Keys::Grid},          {2, Keys::Grid, Keys::Grid},
    {3, Keys::Listed, Keys::Listed},      {4, Keys::Grid, Keys::Grid},
    {5, Keys::Grid, Keys::Grid},          {6, Keys::Diagonal, Keys::Grid},
    {7, Keys::Cleared, Keys::Cleared},    {8, Keys::Cleared, Keys::Cleared},
    {9, Keys::Cleared, Keys::Cleared},    {10, Keys::Listed, Keys::Listed},
    {11, Keys::Listed, Keys::Listed},     {12, Keys::Grid, Keys::Grid},
    {13, Keys::Listed, Keys::Listed},     {14, Keys::Listed, Keys::Listed},
    {15, Keys::Listed, Keys::Listed},     {16, Keys::Listed, Keys::Listed},
    {17, Keys::Cleared, Keys::Cleared},   {18, Keys::Diagonal, Keys::Diagonal},
    {20, Keys::Kept, Keys::Kept},         {0, Keys::Cleared, Keys::Cleared},
    {19, Keys::Cleared, Keys::Cleared},   {21, Keys::Cleared, Keys::Cleared},
    {255, Keys::Cleared, Keys::Cleared},
    // clang-format on
};

uint32_t Packed(TintColor c)
{
    return static_cast<uint32_t>(c.red) << 16 | static_cast<uint32_t>(c.green) << 8 | c.blue;
}

// Every colour a key can be given: a wheel colour or the light mode's colour,
// at any level.
const std::unordered_set<uint32_t>& ValidColors()
{
    static const std::unordered_set<uint32_t> valid = [] {
        std::unordered_set<uint32_t> colors;
        for (int level = 0; level <= 255; ++level) {
            colors.insert(Packed(Scaled(Teal, static_cast<uint8_t>(level))));
            for (size_t i = 0; i < WheelSize; ++i)
                colors.insert(Packed(Scaled(WheelColor(i), static_cast<uint8_t>(level))));
        }
        return colors;
    }();
    return valid;
}

std::bitset<PreviewButtonCount> ButtonsOf(Keys keys)
{
    const PreviewLayout& layout = PreviewLayout::Instance();
    std::bitset<PreviewButtonCount> buttons;
    switch (keys) {
    case Keys::Grid:
        for (const auto& row : layout.grid)
            for (uint8_t button : row)
                if (button != NoButton)
                    buttons.set(button);
        break;
    case Keys::Listed:
        for (const Listing& listing : layout.listings)
            buttons.set(listing.button);
        break;
    case Keys::Diagonal:
        for (const auto& row : layout.diagonal)
            for (uint8_t button : row)
                if (button != NoButton && CellOfButton(button) != NoCell)
                    buttons.set(button);
        break;
    case Keys::Cleared:
    case Keys::Kept:
        break;
    }
    return buttons;
}

TEST(PreviewEffects, EveryEffectTintsOnlyKeysWithACellWithColoursItCanMake)
{
    for (const EffectCase& effect : Effects) {
        for (bool multicolor : {true, false}) {
            for (uint8_t direction : {uint8_t{0}, uint8_t{255}}) {
                SCOPED_TRACE("effect " + std::to_string(effect.mode) + (multicolor ? ", wheel" : ", one colour") +
                             (direction ? ", left" : ", right"));
                const Keys keys = multicolor ? effect.wheel : effect.single;
                const std::bitset<PreviewButtonCount> expected = ButtonsOf(keys);
                const PreviewSettings settings{effect.mode, direction, static_cast<uint8_t>(multicolor ? 1 : 0), Teal};

                FakeRandomSource random;
                PreviewEngine engine(random);
                PreviewTints previous{};
                int changedFrames = 0;
                bool anyLit = false;
                for (int f = 1; f <= 300; ++f) {
                    random.now = 1000 + static_cast<uint64_t>(f / 20);
                    if (f == 150)
                        engine.RequestReset();
                    const PreviewTints& tints = engine.Frame(settings, true);

                    std::bitset<PreviewButtonCount> tinted;
                    for (size_t button = 0; button < PreviewButtonCount; ++button) {
                        const KeyTint& tint = tints[button];
                        const auto key = [&] { return CaptionOf(static_cast<uint8_t>(button)); };
                        if (keys == Keys::Cleared) {
                            ASSERT_EQ(tint.change, TintChange::Clear) << key();
                            continue;
                        }
                        if (tint.change == TintChange::Clear) {
                            FAIL() << "frame " << f << " clears " << key();
                        }
                        if (tint.change != TintChange::Set)
                            continue;
                        tinted.set(button);
                        ASSERT_NE(CellOfButton(static_cast<uint8_t>(button)), NoCell) << key();
                        ASSERT_TRUE(ValidColors().contains(Packed(tint.color)))
                            << "frame " << f << ", " << key() << ": " << int{tint.color.red} << ","
                            << int{tint.color.green} << "," << int{tint.color.blue};
                        anyLit = anyLit || tint.color != TintColor{};
                    }
                    ASSERT_EQ(tinted, expected) << "frame " << f << ": " << (tinted ^ expected).to_string();
                    if (f > 1 && tints != previous)
                        ++changedFrames;
                    previous = tints;
                }
                if (keys != Keys::Cleared && keys != Keys::Kept) {
                    EXPECT_TRUE(anyLit);
                }
                // Everything but the static colours and the effects the keys
                // cannot show moves.
                if (effect.mode == 6 || keys == Keys::Cleared || keys == Keys::Kept) {
                    EXPECT_EQ(changedFrames, 0);
                } else {
                    EXPECT_GT(changedFrames, 100);
                }
            }
        }
    }
}

}  // namespace
}  // namespace trevolin::lighting::preview
