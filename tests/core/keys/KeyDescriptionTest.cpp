#include "core/keys/KeyDescription.h"
#include "core/keys/RawAction.h"

#include "support/MapTextLookup.h"

#include <gtest/gtest.h>

#include <string>

namespace trevolin::keys {
namespace {

using test::MapTextLookup;

MapTextLookup Texts()
{
    return {
        {"IDS_KEYBOARD_A", "A"},
        {"IDS_KEYBOARD_LSHIFT", "Shift"},
        {"IDS_KEYBOARD_ROLL_DOWN", "Wheel down"},
        {"IDS_KEYBOARD_MOU_LEFT", "Left button"},
        {"MEDIA_MUTE_8", "Mute"},
        {"FUNC_KEY_DESC8", "Lock Win"},
        {"FUNC_KEY_DESC11", "Game mode"},
        {"UNKNOWN_KEY", "Key %d"},
        {"KEY_PROMPT_SET", " - "},
        {"KEY_PROMPT_SINGLE", "key: "},
        {"KEY_PROMPT_MOUSE", "mouse: "},
        {"KEY_PROMPT_MACRO", "macro: "},
        {"KEY_PROMPT_MEDIA", "media: "},
        {"KEY_PROMPT_FUNCTION", "function: "},
        {"KEY_PROMPT_RAW", "code: "},
        {"KEY_PROMPT_DISABLED", "disabled"},
        {"KEY_PROMPT_STOP_MACRO", "stop macro"},
        {"KEY_PROMPT_LAUNCH", "launch a program"},
        {"KEY_PROMPT_TEXT", "type a text"},
        {"KEY_PROMPT_OTHER", "other"},
    };
}

std::string MacroName(uint16_t id)
{
    return id == 3 ? "Combo" : "";
}

KeyAction Act(uint16_t kind, uint32_t value = 0)
{
    KeyAction action;
    action.kind = kind;
    action.value = value;
    return action;
}

TEST(KeyDescription, TooltipAndLookOfEachKind)
{
    struct Case {
        const char* what;
        KeyAction entry;
        KeyLook look;
    };
    const Case cases[] = {
        {"default", Act(KeyAction::Default, 0x2A), {false, "A"}},
        // Every kind names what the key does, not only that it changed.
        {"disabled", Act(KeyAction::Disabled), {true, "A - disabled"}},
        {"left Shift", Act(KeyAction::Key, 0x2A), {true, "A - key: Shift"}},
        // Mouse buttons and wheel steps are sent as the mouse, not as keys.
        {"wheel down", Act(KeyAction::Key, 0x162), {true, "A - mouse: Wheel down"}},
        {"left button", Act(KeyAction::Key, 0x171), {true, "A - mouse: Left button"}},
        {"a key without a name", Act(KeyAction::Key, 0x55), {true, "A - key: Key 85"}},
        {"launch program", Act(KeyAction::LaunchProgram, 0x40), {true, "A - launch a program"}},
        {"macro", Act(KeyAction::Macro, 3), {true, "A - macro: Combo"}},
        {"macro that no longer exists", Act(KeyAction::Macro, 9), {true, "A - macro: "}},
        {"power code kept as it is", RawKeyAction({0x04, 0x81, 0x00}), {true, "A - code: 04-81-00"}},
        // Told as the missing macro it names, not as a bare code.
        {"macro number kept as it is", RawKeyAction({0x05, 0x01, 0x09}), {true, "A - macro: "}},
        {"stop macro", Act(KeyAction::StopMacro), {true, "A - stop macro"}},
        {"text block", Act(KeyAction::TextBlock), {true, "A - type a text"}},
        {"mute", Act(KeyAction::Media, 7), {true, "A - media: Mute"}},
        {"media index past the table", Act(KeyAction::Media, 18), {true, "A - media: "}},
        {"function index 7 is text 8", Act(KeyAction::Function, 7), {true, "A - function: Lock Win"}},
        {"last function", Act(KeyAction::Function, 10), {true, "A - function: Game mode"}},
        {"function without a text", Act(KeyAction::Function, 0xFFFFFFFF), {true, "A - function: #Error"}},
        {"unknown kind", Act(42, 7), {true, "A - other"}},
    };
    const MapTextLookup texts = Texts();
    for (const Case& c : cases)
        EXPECT_EQ(DescribeKeyAction(texts, 0x1E, c.entry, MacroName), c.look) << c.what;
}

TEST(KeyDescription, GKeysAreNamedByNumber)
{
    const MapTextLookup texts = Texts();
    EXPECT_EQ(DescribeGKeyAction(texts, 0, KeyAction{}, MacroName), (KeyLook{false, "G1"}));
    EXPECT_EQ(DescribeGKeyAction(texts, 8, Act(KeyAction::Macro, 3), MacroName), (KeyLook{true, "G9 - macro: Combo"}));
    EXPECT_EQ(DescribeGKeyAction(texts, 1, Act(KeyAction::Key, 0x2A), nullptr), (KeyLook{true, "G2 - key: Shift"}));
    EXPECT_EQ(DescribeGKeyAction(texts, 1, Act(KeyAction::Macro, 3), nullptr), (KeyLook{true, "G2 - macro: "}));
}

TEST(KeyDescription, LanguageTextsAreNeverFormats)
{
    MapTextLookup texts = Texts();
    texts.text["KEY_PROMPT_SET"] = " %s%n%d ";
    texts.text["KEY_PROMPT_SINGLE"] = "%%(";
    EXPECT_EQ(DescribeKeyAction(texts, 0x1E, Act(KeyAction::Key, 0x2A), MacroName).tooltip, "A %s%n%d %%(Shift");
}

TEST(KeyDescription, TooltipFitsItsBufferWithoutSplittingACharacter)
{
    const MapTextLookup texts = Texts();
    std::string longName;
    for (int i = 0; i < 300; ++i)
        longName += "\xC3\xA9";  // é, two bytes
    const auto name = [&longName](uint16_t) { return longName; };

    const KeyLook look = DescribeKeyAction(texts, 0x1E, Act(KeyAction::Macro, 1), name);
    EXPECT_TRUE(look.assigned);
    // "A - macro: " is 11 characters; 248 of the name's fill the rest.
    EXPECT_EQ(look.tooltip, "A - macro: " + longName.substr(0, 2 * 248));

    MapTextLookup longKeyName = Texts();
    longKeyName.text["IDS_KEYBOARD_A"] = std::string(400, 'a');
    EXPECT_EQ(DescribeKeyAction(longKeyName, 0x1E, KeyAction{}, name).tooltip, std::string(259, 'a'));
    EXPECT_EQ(DescribeKeyAction(longKeyName, 0x1E, Act(KeyAction::Key, 0x2A), name).tooltip, std::string(259, 'a'));
}

}  // namespace
}  // namespace trevolin::keys
