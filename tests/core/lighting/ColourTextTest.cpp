#include "core/lighting/ColourText.h"
#include "core/lighting/PanelControls.h"

#include <gtest/gtest.h>

#include <optional>

namespace trevolin::lighting {
namespace {

TEST(ColourTextTest, AUserGivesAColourAsNumbersHexOrName)
{
    struct Case {
        const char* text;
        std::optional<RgbColor> colour;
    };
    const Case cases[] = {
        {"255,128,0", RgbColor{255, 128, 0}},
        {" 1 , 2 ,3 ", RgbColor{1, 2, 3}},
        {"#ff8000", RgbColor{255, 128, 0}},
        {"#FF8000", RgbColor{255, 128, 0}},
        {"#f80", RgbColor{255, 136, 0}},
        {"#000", RgbColor{0, 0, 0}},
        {"red", RgbColor{255, 0, 0}},
        {"Blue", RgbColor{0, 126, 255}},
        {" ORANGE ", RgbColor{235, 99, 30}},
        {"white", RgbColor{255, 255, 255}},
        {"black", RgbColor{0, 0, 0}},
        // Refused: nothing is clamped or guessed.
        {"", std::nullopt},
        {"1,2", std::nullopt},
        {"1,2,3,4", std::nullopt},
        {"1,2,256", std::nullopt},
        {"-1,2,3", std::nullopt},
        {"1,2,3x", std::nullopt},
        {"1,,3", std::nullopt},
        {"#ff80", std::nullopt},
        {"#ff80000", std::nullopt},
        {"#gg0000", std::nullopt},
        {"#", std::nullopt},
        {"reddish", std::nullopt},
        {"re d", std::nullopt},
        {"1000", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColourFromUserText(c.text), c.colour) << '"' << c.text << '"';
}

TEST(ColourTextTest, TheNamesStartWithThePanelsPresetsInTheirOrder)
{
    const auto names = ColourNames();
    ASSERT_EQ(names.size(), PresetCount + 2);
    for (size_t i = 0; i < PresetCount; ++i) {
        EXPECT_EQ(names[i].colour, ColourPresets()[i].colour) << names[i].name;
        EXPECT_EQ(ColourFromUserText(names[i].name), ColourPresets()[i].colour);
    }
}

}  // namespace
}  // namespace trevolin::lighting
