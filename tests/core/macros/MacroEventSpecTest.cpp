#include "core/macros/MacroEventSpec.h"

#include <gtest/gtest.h>

namespace trevolin::macros {
namespace {

TEST(MacroEventSpec, ParsesEventsAndWritesThemBack)
{
    struct Case {
        const char* text;
        uint16_t keyCode;
        uint16_t action;
        uint32_t delay;
        const char* canonical;
    } cases[] = {
        {"LeftCtrl:down:0", 0x1D, MacroEvent::Press, 0, "LeftCtrl:down:0"},
        {"c:UP", 0x2E, MacroEvent::Release, 0, "C:up:0"},
        {"C:down:1230", 0x2E, MacroEvent::Press, 1230, "C:down:1230"},
        {"MouseRight:down:50", 0x172, MacroEvent::Press, 50, "MouseRight:down:50"},
        {"wheeldown:up:40000", 0x162, MacroEvent::Release, 40000, "WheelDown:up:40000"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseMacroEventSpec(c.text);
        ASSERT_TRUE(parsed.event) << c.text << ": " << parsed.error;
        EXPECT_EQ(parsed.event->keyCode, c.keyCode) << c.text;
        EXPECT_EQ(parsed.event->action, c.action) << c.text;
        EXPECT_EQ(parsed.event->delayMs, c.delay) << c.text;
        EXPECT_EQ(FormatMacroEventSpec(*parsed.event), c.canonical);
    }
}

TEST(MacroEventSpec, RefusesWhatAMacroCannotHold)
{
    for (const char* text :
         {"C", "C:press", "NoKey:down", "G1:down", "C:down:40001", "C:down:-5", "C:down:", "C:down:1e3", "Fn:down"}) {
        const auto parsed = ParseMacroEventSpec(text);
        EXPECT_FALSE(parsed.event) << text;
        EXPECT_FALSE(parsed.error.empty()) << text;
    }
}

TEST(MacroEventSpec, RefusesADelayTheKeyboardCannotKeepRatherThanRoundingIt)
{
    for (const char* text : {"A:down:15", "A:up:1", "A:down:39995"}) {
        const auto parsed = ParseMacroEventSpec(text);
        EXPECT_FALSE(parsed.event) << text;
        EXPECT_NE(parsed.error.find("steps of 10 ms"), std::string::npos) << parsed.error;
    }
    EXPECT_NE(ParseMacroEventSpec("A:down:15").error.find("write 10 or 20"), std::string::npos);
}

TEST(MacroEventSpec, OffersOnlyKeysAMacroCanPress)
{
    const std::string error = ParseMacroEventSpec("NoKey:down").error;
    EXPECT_NE(error.find("NumEnter"), std::string::npos) << error;
    // No other key name holds these letters.
    for (const char* refused : {"Fn", "G1", "G9"})
        EXPECT_EQ(error.find(refused), std::string::npos) << refused << " in " << error;
}

}  // namespace
}  // namespace trevolin::macros
