#include "core/keyboard/KeyClick.h"
#include "core/keyboard/KeyboardLayout.h"

#include <gtest/gtest.h>

namespace trevolin::keyboard {
namespace {

constexpr uint16_t KeyA = 1058;
constexpr uint16_t KeyPause = 1093;
constexpr uint16_t G1 = 1000;
constexpr uint16_t G3 = 1002;
constexpr uint16_t G9 = 1143;

TEST(KeyClick, DecisionTable)
{
    using A = KeyClickAction;
    struct Case {
        const char* what;
        uint32_t controlId;
        bool lightingView;
        bool bankB;
        KeyClickDecision expected;
    };
    const Case cases[] = {
        {"Fn, lighting view", FnKeyControlId, true, false, {A::PaintKey, FnKeyControlId, {}}},
        {"Fn, no lighting view", FnKeyControlId, false, false, {}},
        {"key, lighting view", KeyA, true, false, {A::PaintKey, KeyA, {}}},
        {"unlit key, lighting view", KeyPause, true, false, {A::PaintKey, KeyPause, {}}},
        {"G key, lighting view", G1, true, true, {A::PaintKey, G1, {}}},
        {"key", KeyA, false, false, {A::OpenKeyAssignment, KeyA, {KeyA, 0x1E, false}}},
        {"key, bank B", KeyA, false, true, {A::OpenKeyAssignment, KeyA, {KeyA, 0x1E, false}}},
        {"G3, bank A", G3, false, false, {A::OpenKeyAssignment, G3, {G3, 0x102, false}}},
        {"G3, bank B", G3, false, true, {A::OpenKeyAssignment, G3, {G3, 0x10B, false}}},
        {"G9 is macro-only", G9, false, false, {A::OpenKeyAssignment, G9, {G9, 0x108, true}}},
        {"G9, bank B", G9, false, true, {A::OpenKeyAssignment, G9, {G9, 0x111, true}}},
        {"not a key", 1167, false, false, {}},
        {"not a key, lighting view", 1167, true, false, {}},
        {"id beyond 16 bits", 0x10000u + KeyA, false, false, {}},
        {"id 0", 0, true, false, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideKeyClick(c.controlId, c.lightingView, c.bankB), c.expected) << c.what;
}

TEST(KeyClick, OnlyG9OpensMacroOnly)
{
    ForEachKey([](KeyRef key) {
        const uint16_t id = ControlIdOf(key);
        const std::optional<KeyAssignmentTarget> target = KeyAssignmentTargetOf(id, false);
        ASSERT_TRUE(target) << id;
        EXPECT_EQ(target->controlId, id);
        EXPECT_EQ(target->keyNumber, KeyNumberOfKey(key, false));
        EXPECT_EQ(target->macroOnly, id == G9) << id;
    });
    EXPECT_EQ(KeyAssignmentTargetOf(FnKeyControlId, false), std::nullopt);
}

}  // namespace
}  // namespace trevolin::keyboard
