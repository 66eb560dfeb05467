#include "core/keys/ActionSpec.h"

#include <gtest/gtest.h>

namespace trevolin::keys {
namespace {

TEST(ActionSpec, ParsesEveryKindAndReadsBackTheSameText)
{
    struct Case {
        const char* text;
        uint16_t kind;
        uint32_t value;
        const char* canonical;
    } cases[] = {
        {"key:A", KeyAction::Key, 0x1E, "key:A"},
        {"key:num enter", KeyAction::Key, 0x11C, "key:NumEnter"},
        {"Key:RightShift", KeyAction::Key, 0x36, "key:RightShift"},
        {"mouse:right", KeyAction::Key, 0x172, "mouse:right"},
        {"wheel:Down", KeyAction::Key, 0x162, "wheel:down"},
        {"media:volume_up", KeyAction::Media, 6, "media:volume-up"},
        {"media:mail", KeyAction::Media, 17, "media:mail"},
        {"function:1", KeyAction::Function, 0, "function:1"},
        {"function:11", KeyAction::Function, 10, "function:11"},
        {"default", KeyAction::Default, 0, "default"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseActionSpec(c.text);
        ASSERT_TRUE(parsed.spec) << c.text << ": " << parsed.error;
        EXPECT_EQ(parsed.spec->kind, c.kind) << c.text;
        EXPECT_EQ(parsed.spec->value, c.value) << c.text;
        KeyAction action;
        action.kind = parsed.spec->kind;
        action.value = parsed.spec->value;
        EXPECT_EQ(FormatActionSpec(action), c.canonical);
    }
    const auto macro = ParseActionSpec("macro:Copy and paste");
    ASSERT_TRUE(macro.spec);
    EXPECT_EQ(macro.spec->kind, KeyAction::Macro);
    EXPECT_EQ(macro.spec->macroRef, "Copy and paste");
}

TEST(ActionSpec, RefusesWithASentenceSayingWhatWasExpected)
{
    struct Case {
        const char* text;
        const char* mentions;
    } cases[] = {
        {"key:NoSuchKey", "NumEnter"},       // lists the key names
        {"key:G1", "not a key a key can send"},
        {"mouse:fourth", "left, right or middle"},
        {"wheel:sideways", "up or down"},
        {"media:radio", "volume-up"},
        {"function:0", "1 to 11"},
        {"function:12", "1 to 11"},
        {"function:x", "1 to 11"},
        {"macro:", "id or name"},
        {"launch:/bin/sh", "expected key:NAME"},
        {"", "expected key:NAME"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseActionSpec(c.text);
        EXPECT_FALSE(parsed.spec) << c.text;
        EXPECT_NE(parsed.error.find(c.mentions), std::string::npos) << c.text << ": " << parsed.error;
    }
}

}  // namespace
}  // namespace trevolin::keys
