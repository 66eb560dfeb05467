#include "core/lighting/EffectCatalogue.h"
#include "core/lighting/EffectDirections.h"
#include "core/lighting/EffectNames.h"

#include "support/MapTextLookup.h"

#include <gtest/gtest.h>

namespace trevolin::lighting {
namespace {

TEST(EffectNames, TheLanguageFileNamesAnEffectAndTheProgramFillsTheGaps)
{
    test::MapTextLookup texts;
    texts.mode["1"] = "Wave";
    texts.mode["8"] = "Sternenhimmel";  // a translation that names 8 wins over the English name
    EXPECT_EQ(EffectName(texts, 1), "Wave");
    EXPECT_EQ(EffectName(texts, 8), "Sternenhimmel");
    EXPECT_EQ(EffectName(texts, 7), "Onboard pattern A");
    EXPECT_EQ(EffectName(texts, 9), "Onboard pattern C");
    EXPECT_EQ(EffectName(texts, 2), "#Error") << "a name the file should have is not invented";
    EXPECT_EQ(EffectName(texts, 19), "#Error");
}

// The words follow the panel's pictures: the first writes 255, the second 0.
TEST(EffectDirections, EachEffectHasItsOwnPairOrNone)
{
    struct Case {
        int effect;
        const char* first;
        const char* second;
    };
    for (const Case& c : {Case{1, "left", "right"}, Case{3, "left", "right"}, Case{12, "up", "down"},
                          Case{18, "diffuse", "converge"}}) {
        SCOPED_TRACE(c.effect);
        const auto choices = DirectionsOf(c.effect);
        ASSERT_EQ(choices.size(), 2u);
        EXPECT_EQ(choices[0].word, c.first);
        EXPECT_EQ(choices[1].word, c.second);
        EXPECT_EQ(DirectionValueOf(c.effect, c.first), 255);
        EXPECT_EQ(DirectionValueOf(c.effect, c.second), 0);
        EXPECT_EQ(DirectionWordOf(c.effect, 255), c.first);
        EXPECT_EQ(DirectionWordOf(c.effect, 7), c.first) << "any non-zero byte shows as the first";
        EXPECT_EQ(DirectionWordOf(c.effect, 0), c.second);
    }
    EXPECT_EQ(DirectionValueOf(12, "UP"), 255);
    EXPECT_FALSE(DirectionValueOf(12, "left"));
    EXPECT_FALSE(DirectionValueOf(1, "up"));
    for (int effect = 0; effect <= 21; ++effect) {
        const auto traits = FindEffect(effect);
        const bool hasDirection = traits && traits->direction != DirectionKind::None;
        EXPECT_EQ(DirectionsOf(effect).empty(), !hasDirection) << effect;
        if (!hasDirection) {
            EXPECT_EQ(DirectionWordOf(effect, 255), "") << effect;
        }
    }
}

}  // namespace
}  // namespace trevolin::lighting
