#include "core/keys/ActionSpec.h"
#include "core/keys/RawAction.h"

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
        {"disabled", KeyAction::Disabled, 0, "disabled"},
        {"stop-macro", KeyAction::StopMacro, 0, "stop-macro"},
        {"Stop Macro", KeyAction::StopMacro, 0, "stop-macro"},
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
        {"key:NoSuchKey", "NumEnter"},  // lists the key names
        {"key:G1", "'G1' is not a key Trevolin can send. Keys it can send: Esc,"},
        {"mouse:fourth", "left, right or middle"},
        {"wheel:sideways", "up or down"},
        {"media:radio", "volume-up"},
        {"function:0", "1 to 11"},
        {"function:12", "1 to 11"},
        {"function:x", "1 to 11"},
        {"macro:", "id or name"},
        {"launch:/bin/sh", "expected key:NAME"},
        {"", "expected key:NAME"},
        {"raw:04-81", "04-81-00"},
        {"raw:04-81-0G", "04-81-00"},
        {"raw:+4-81-00", "04-81-00"},
        {"raw:0x4-81-00", "04-81-00"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseActionSpec(c.text);
        EXPECT_FALSE(parsed.spec) << c.text;
        EXPECT_NE(parsed.error.find(c.mentions), std::string::npos) << c.text << ": " << parsed.error;
    }
}

TEST(ActionSpec, RawCodesAreTakenAndShownAsTheyStand)
{
    const auto parsed = ParseActionSpec("raw:04-81-0a");
    ASSERT_TRUE(parsed.spec) << parsed.error;
    ASSERT_TRUE(parsed.spec->rawCode);
    EXPECT_EQ(*parsed.spec->rawCode, (ActionCode{0x04, 0x81, 0x0A}));
    EXPECT_EQ(FormatActionSpec(RawKeyAction({0x04, 0x81, 0x0A})), "raw:04-81-0A");
    // A macro number past the list reads as a macro to other programs, and
    // is still shown as the code it is.
    EXPECT_EQ(FormatActionSpec(RawKeyAction({0x05, 0x01, 0x09}), "Some macro"), "raw:05-01-09");
}

TEST(ActionSpec, KeyNamesOfferedAreOnlyKeysAKeyCanSend)
{
    const std::string error = ParseActionSpec("key:NoSuchKey").error;
    // No other key name holds these letters.
    for (const char* refused : {"Fn", "G1", "G9"})
        EXPECT_EQ(error.find(refused), std::string::npos) << refused << " in " << error;
}

}  // namespace
}  // namespace trevolin::keys
