#include "core/keyboard/KeyButtonState.h"
#include "core/keyboard/KeyboardLayout.h"

#include <gtest/gtest.h>

namespace trevolin::keyboard {
namespace {

// Every fact counts at once, whichever changed last: a refresh after a
// profile switch must not bring back F1 while flipped, nor the keyboard's
// arrival a key the skin left out.
TEST(KeyButtonState, EveryFactDecidesTogether)
{
    const uint32_t f1 = FirstFlipKey;
    const uint32_t d1 = FirstFlipPartner;
    const uint32_t g1 = GKeyControlIds()[0];
    const uint32_t g9 = GKeyControlIds()[GKeyCount - 1];
    const uint32_t f5 = LastFlipKey + 1;
    struct Case {
        uint32_t id;
        KeyButtonFacts facts;
        bool enabled;
    };
    const Case cases[] = {
        {f5, {true, true, true, false}, true},   {f5, {false, true, true, false}, false},
        {f5, {true, false, true, false}, false}, {f5, {true, true, false, false}, false},
        {f1, {true, true, true, false}, true},   {f1, {true, true, true, true}, false},
        {d1, {true, true, true, false}, false},  {d1, {true, true, true, true}, true},
        {g1, {true, true, true, false}, true},   {g9, {true, true, true, false}, GKeyEnabledAtStart(GKeyCount - 1)},
        {f1, {false, true, true, false}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyButtonEnabled(c.id, c.facts), c.enabled) << "control " << c.id;
    ASSERT_FALSE(GKeyEnabledAtStart(GKeyCount - 1));
}

}  // namespace
}  // namespace trevolin::keyboard
