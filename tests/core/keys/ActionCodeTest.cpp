#include "core/keyboard/KeyActionPair.h"
#include "core/keyboard/KeyConversions.h"
#include "core/keyboard/KeyboardLayout.h"
#include "core/keys/ActionCode.h"
#include "core/keys/KeyNumber.h"
#include "core/keys/MediaFunctions.h"

#include <gtest/gtest.h>

namespace trevolin::keys {
namespace {

TEST(ActionCode, DecodesToTheKeyItNames)
{
    struct Case {
        const char* what;
        ActionCode code;
        uint16_t keyCode;
    };
    const Case cases[] = {
        {"left button", {1, 1, 1}, 0x171},
        {"right button", {1, 1, 2}, 0x172},
        {"middle button", {1, 1, 4}, 0x173},
        {"two buttons at once", {1, 1, 3}, 0},
        {"wheel up", {1, 5, 0x01}, 0x161},
        {"wheel down", {1, 5, 0xFF}, 0x162},
        {"wheel, other step", {1, 5, 0x02}, 0},
        {"mouse, other sub", {1, 2, 1}, 0},
        {"A", {2, 2, 0x04}, 0x1E},
        {"Esc", {2, 2, 0x29}, 0x01},
        {"usage 0x48 is Pause, never Break", {2, 2, 0x48}, 0x45},
        {"right Shift's usage finds 0x36, not its twin", {2, 2, 0xE5}, 0x36},
        {"keypad Enter", {2, 2, 0x58}, 0x11C},
        {"usage 0", {2, 2, 0x00}, 0},
        {"usage no key has", {2, 2, 0x01}, 0},
        {"left Shift bit", {2, 1, 0x02}, 0x2A},
        {"right Win bit", {2, 1, 0x80}, 0x15C},
        {"lowest of several bits", {2, 1, 0x60}, 0x36},
        {"no modifier bit", {2, 1, 0x00}, 0},
        {"any other sub reads a modifier", {2, 7, 0x01}, 0x1D},
        {"mute", {3, 0xE2, 0x00}, 0x120},
        {"media player, usage above 0xFF", {3, 0x83, 0x01}, 0x16D},
        {"consumer usage no key has", {3, 0x34, 0x12}, 0},
        {"power", {4, 0x81, 0x00}, 0x15E},
        {"wake", {4, 0x83, 0x00}, 0x163},
        {"generic-desktop usage no key has", {4, 0x84, 0x00}, 0},
        {"system usage with a high byte", {4, 0x81, 0x01}, 0},
        {"G1 of bank 0", {6, 0xA2, 1}, 0x200},
        {"G9 of bank 1", {6, 0xA2, 18}, 0x211},
        {"G key 0 does not exist", {6, 0xA2, 0}, 0},
        {"G key 19 does not exist", {6, 0xA2, 19}, 0},
        {"class 6, other sub", {6, 0xA1, 1}, 0},
        {"disabled", {0, 0, 0}, 0},
        {"keyboard's own code", {5, 0, 0}, 0},
        {"stop macro", {5, 2, 2}, 0},
        {"unknown class", {7, 2, 4}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeActionCode(c.code), c.keyCode) << c.what;
}

TEST(ActionCode, ModifierBitsAndKeyCodes)
{
    const uint16_t keys[8] = {0x1D, 0x2A, 0x38, 0x15B, 0x11D, 0x36, 0x138, 0x15C};
    for (uint32_t bit = 0; bit < 8; ++bit) {
        EXPECT_EQ(ModifierKeyCode(1u << bit), keys[bit]) << bit;
        EXPECT_EQ(ModifierBitOf(keys[bit]), 1u << bit) << bit;
    }
    EXPECT_EQ(ModifierKeyCode(0), 0);
    EXPECT_EQ(ModifierKeyCode(0xFF), 0x1D);
    EXPECT_EQ(ModifierKeyCode(0x100), 0);  // only a byte of bits
    EXPECT_EQ(ModifierBitOf(0x1E), 0);
    EXPECT_EQ(ModifierBitOf(0x136), 0);  // right Shift's twin row is no modifier here
}

TEST(KeyNumber, OfKeyCodes)
{
    struct Case {
        const char* what;
        uint32_t keyCode;
        uint32_t keyNumber;
    };
    const Case cases[] = {
        {"A", 0x1E, 0x1E},
        {"Print Screen", 0x137, 0xB7},
        {"keypad Enter", 0x11C, 0x9C},
        {"Num Lock", 0x145, 0xC5},
        {"left button", 0x171, 0xF1},
        {"G1, bank 0", 0x200, 0x100},
        {"G9, bank 0", 0x208, 0x108},
        {"G1, bank 1", 0x209, 0x109},
        {"G9, bank 1", 0x211, 0x111},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyNumberOf(c.keyCode), c.keyNumber) << c.what;
}

// The key table and the on-screen keys must agree on every key's entry,
// or a key's assignment would show on another key's button.
TEST(KeyNumber, AgreesWithTheLayoutForEveryKey)
{
    for (const keyboard::LayoutKey& key : keyboard::LayoutKeys())
        EXPECT_EQ(KeyNumberOf(key.scan), key.keyNumber) << key.caption;
    for (uint8_t n = 1; n <= 18; ++n) {
        const bool bankB = n > 9;
        const size_t g = bankB ? n - 10u : n - 1u;
        EXPECT_EQ(KeyNumberOf(DecodeActionCode({6, 0xA2, n})), keyboard::GKeyNumber(g, bankB)) << int{n};
    }
}

// The media table and the key code table are written apart; they must name
// the same usage for every media key.
TEST(MediaFunctions, AgreeWithTheKeyCodeTable)
{
    for (uint32_t index = 0; index < MediaFunctionCount; ++index) {
        EXPECT_EQ(keyboard::ScanFromAction(keyboard::KeyActionPair::ConsumerFunction, MediaUsage(index)),
                  MediaKeyCode(index))
            << index;
        EXPECT_EQ(MediaIndexOfUsage(MediaUsage(index)), index);
    }
    EXPECT_EQ(MediaKeyCode(MediaFunctionCount), 0);
    EXPECT_EQ(MediaUsage(MediaFunctionCount), 0);
    EXPECT_FALSE(MediaIndexOfUsage(0));
    EXPECT_FALSE(MediaIndexOfUsage(0x0184));
}

}  // namespace
}  // namespace trevolin::keys
