#include "core/keyboard/EvdevKeyTable.h"
#include "core/keyboard/KeyCodeTable.h"
#include "core/keyboard/KeyConversions.h"

#include <gtest/gtest.h>

#include <set>

#if __has_include(<linux/input-event-codes.h>)
#include <linux/input-event-codes.h>
#define TREVOLIN_HAVE_INPUT_EVENT_CODES 1
#endif

namespace trevolin::keyboard {
namespace {

TEST(EvdevKeyTable, EachEvdevCodeAndEachKeyOnce)
{
    std::set<uint16_t> codes;
    std::set<uint16_t> scans;
    for (const EvdevKey& key : EvdevKeys()) {
        EXPECT_TRUE(codes.insert(key.evdevCode).second) << key.evdevCode;
        EXPECT_TRUE(scans.insert(key.scan).second) << std::hex << key.scan;
        EXPECT_FALSE(KeyCodeOfScan(key.scan).isEmpty()) << std::hex << key.scan;
        EXPECT_EQ(ScanFromEvdev(key.evdevCode), key.scan);
    }
}

TEST(EvdevKeyTable, EveryKeyTheKeyboardCanSendHasAnEvdevCode)
{
    // A key the keyboard sends is one with a key or system device code, the
    // first row of that code (Break and the second Right Shift row are the
    // same keys), but not the program's own functions 0xD2..0xD5.
    std::set<uint16_t> sendable = {0x64};  // F13, which has no device code
    for (uint32_t index = 0; index < KeyCodeRowCount; ++index) {
        const uint16_t scan = IndexToScan(index);
        const KeyActionPair action = ActionFromScan(scan);
        const bool keyOrSystem =
            action.type == KeyActionPair::KeyboardKey || action.type == KeyActionPair::SystemControl;
        const bool programFunction = action.code >= 0xD2 && action.code <= 0xD5;
        if (keyOrSystem && !programFunction && ScanFromAction(action.type, action.code) == scan)
            sendable.insert(scan);
    }
    std::set<uint16_t> mapped;
    for (const EvdevKey& key : EvdevKeys())
        mapped.insert(key.scan);
    EXPECT_EQ(mapped, sendable);
}

TEST(EvdevKeyTable, KeysNumberedAgainstTheUsualPrefixes)
{
    EXPECT_EQ(ScanFromEvdev(69), 0x145);  // KEY_NUMLOCK
    EXPECT_EQ(ScanFromEvdev(119), 0x45);  // KEY_PAUSE
    EXPECT_EQ(ScanFromEvdev(99), 0x137);  // KEY_SYSRQ is the Print Screen key
    EXPECT_EQ(ScanFromEvdev(54), 0x36);   // KEY_RIGHTSHIFT, not 0x136
    EXPECT_EQ(ScanFromEvdev(96), 0x11C);  // KEY_KPENTER
}

TEST(EvdevKeyTable, UnknownCodesGiveNoKey)
{
    for (uint32_t code : {0u, 84u, 240u, 0x2FFu, 0x10001u})
        EXPECT_EQ(ScanFromEvdev(code), 0) << code;
}

TEST(EvdevKeyTable, XkbKeycodesAreEvdevCodesPlusEight)
{
    EXPECT_EQ(ScanFromXkbKeycode(38), 0x1E);  // A
    EXPECT_EQ(ScanFromXkbKeycode(9), 0x01);   // Esc
    EXPECT_EQ(ScanFromXkbKeycode(8), 0);
    EXPECT_EQ(ScanFromXkbKeycode(7), 0);
    EXPECT_EQ(ScanFromXkbKeycode(0), 0);
}

#ifdef TREVOLIN_HAVE_INPUT_EVENT_CODES

// How the Linux HID driver names this keyboard's keys: the usage it reports
// (keyboard page, consumer page, or generic-desktop system control) and the
// evdev code it gives it. The key code table's device codes name the same
// usages, so both must meet in one key.
enum class Page { Keyboard, Consumer, System };
struct HidKey {
    uint16_t evdevCode;
    Page page;
    uint16_t usage;
};

constexpr HidKey LinuxHidKeys[] = {
    {KEY_A, Page::Keyboard, 0x04},
    {KEY_B, Page::Keyboard, 0x05},
    {KEY_C, Page::Keyboard, 0x06},
    {KEY_D, Page::Keyboard, 0x07},
    {KEY_E, Page::Keyboard, 0x08},
    {KEY_F, Page::Keyboard, 0x09},
    {KEY_G, Page::Keyboard, 0x0A},
    {KEY_H, Page::Keyboard, 0x0B},
    {KEY_I, Page::Keyboard, 0x0C},
    {KEY_J, Page::Keyboard, 0x0D},
    {KEY_K, Page::Keyboard, 0x0E},
    {KEY_L, Page::Keyboard, 0x0F},
    {KEY_M, Page::Keyboard, 0x10},
    {KEY_N, Page::Keyboard, 0x11},
    {KEY_O, Page::Keyboard, 0x12},
    {KEY_P, Page::Keyboard, 0x13},
    {KEY_Q, Page::Keyboard, 0x14},
    {KEY_R, Page::Keyboard, 0x15},
    {KEY_S, Page::Keyboard, 0x16},
    {KEY_T, Page::Keyboard, 0x17},
    {KEY_U, Page::Keyboard, 0x18},
    {KEY_V, Page::Keyboard, 0x19},
    {KEY_W, Page::Keyboard, 0x1A},
    {KEY_X, Page::Keyboard, 0x1B},
    {KEY_Y, Page::Keyboard, 0x1C},
    {KEY_Z, Page::Keyboard, 0x1D},
    {KEY_1, Page::Keyboard, 0x1E},
    {KEY_2, Page::Keyboard, 0x1F},
    {KEY_3, Page::Keyboard, 0x20},
    {KEY_4, Page::Keyboard, 0x21},
    {KEY_5, Page::Keyboard, 0x22},
    {KEY_6, Page::Keyboard, 0x23},
    {KEY_7, Page::Keyboard, 0x24},
    {KEY_8, Page::Keyboard, 0x25},
    {KEY_9, Page::Keyboard, 0x26},
    {KEY_0, Page::Keyboard, 0x27},
    {KEY_ENTER, Page::Keyboard, 0x28},
    {KEY_ESC, Page::Keyboard, 0x29},
    {KEY_BACKSPACE, Page::Keyboard, 0x2A},
    {KEY_TAB, Page::Keyboard, 0x2B},
    {KEY_SPACE, Page::Keyboard, 0x2C},
    {KEY_MINUS, Page::Keyboard, 0x2D},
    {KEY_EQUAL, Page::Keyboard, 0x2E},
    {KEY_LEFTBRACE, Page::Keyboard, 0x2F},
    {KEY_RIGHTBRACE, Page::Keyboard, 0x30},
    {KEY_BACKSLASH, Page::Keyboard, 0x31},
    {KEY_SEMICOLON, Page::Keyboard, 0x33},
    {KEY_APOSTROPHE, Page::Keyboard, 0x34},
    {KEY_GRAVE, Page::Keyboard, 0x35},
    {KEY_COMMA, Page::Keyboard, 0x36},
    {KEY_DOT, Page::Keyboard, 0x37},
    {KEY_SLASH, Page::Keyboard, 0x38},
    {KEY_CAPSLOCK, Page::Keyboard, 0x39},
    {KEY_F1, Page::Keyboard, 0x3A},
    {KEY_F2, Page::Keyboard, 0x3B},
    {KEY_F3, Page::Keyboard, 0x3C},
    {KEY_F4, Page::Keyboard, 0x3D},
    {KEY_F5, Page::Keyboard, 0x3E},
    {KEY_F6, Page::Keyboard, 0x3F},
    {KEY_F7, Page::Keyboard, 0x40},
    {KEY_F8, Page::Keyboard, 0x41},
    {KEY_F9, Page::Keyboard, 0x42},
    {KEY_F10, Page::Keyboard, 0x43},
    {KEY_F11, Page::Keyboard, 0x44},
    {KEY_F12, Page::Keyboard, 0x45},
    {KEY_SYSRQ, Page::Keyboard, 0x46},
    {KEY_SCROLLLOCK, Page::Keyboard, 0x47},
    {KEY_PAUSE, Page::Keyboard, 0x48},
    {KEY_INSERT, Page::Keyboard, 0x49},
    {KEY_HOME, Page::Keyboard, 0x4A},
    {KEY_PAGEUP, Page::Keyboard, 0x4B},
    {KEY_DELETE, Page::Keyboard, 0x4C},
    {KEY_END, Page::Keyboard, 0x4D},
    {KEY_PAGEDOWN, Page::Keyboard, 0x4E},
    {KEY_RIGHT, Page::Keyboard, 0x4F},
    {KEY_LEFT, Page::Keyboard, 0x50},
    {KEY_DOWN, Page::Keyboard, 0x51},
    {KEY_UP, Page::Keyboard, 0x52},
    {KEY_NUMLOCK, Page::Keyboard, 0x53},
    {KEY_KPSLASH, Page::Keyboard, 0x54},
    {KEY_KPASTERISK, Page::Keyboard, 0x55},
    {KEY_KPMINUS, Page::Keyboard, 0x56},
    {KEY_KPPLUS, Page::Keyboard, 0x57},
    {KEY_KPENTER, Page::Keyboard, 0x58},
    {KEY_KP1, Page::Keyboard, 0x59},
    {KEY_KP2, Page::Keyboard, 0x5A},
    {KEY_KP3, Page::Keyboard, 0x5B},
    {KEY_KP4, Page::Keyboard, 0x5C},
    {KEY_KP5, Page::Keyboard, 0x5D},
    {KEY_KP6, Page::Keyboard, 0x5E},
    {KEY_KP7, Page::Keyboard, 0x5F},
    {KEY_KP8, Page::Keyboard, 0x60},
    {KEY_KP9, Page::Keyboard, 0x61},
    {KEY_KP0, Page::Keyboard, 0x62},
    {KEY_KPDOT, Page::Keyboard, 0x63},
    {KEY_102ND, Page::Keyboard, 0x64},
    {KEY_COMPOSE, Page::Keyboard, 0x65},
    {KEY_KPCOMMA, Page::Keyboard, 0x85},
    {KEY_RO, Page::Keyboard, 0x87},
    {KEY_KATAKANAHIRAGANA, Page::Keyboard, 0x88},
    {KEY_YEN, Page::Keyboard, 0x89},
    {KEY_HENKAN, Page::Keyboard, 0x8A},
    {KEY_MUHENKAN, Page::Keyboard, 0x8B},
    {KEY_HANGEUL, Page::Keyboard, 0x90},
    {KEY_HANJA, Page::Keyboard, 0x91},
    {KEY_LEFTCTRL, Page::Keyboard, 0xE0},
    {KEY_LEFTSHIFT, Page::Keyboard, 0xE1},
    {KEY_LEFTALT, Page::Keyboard, 0xE2},
    {KEY_LEFTMETA, Page::Keyboard, 0xE3},
    {KEY_RIGHTCTRL, Page::Keyboard, 0xE4},
    {KEY_RIGHTSHIFT, Page::Keyboard, 0xE5},
    {KEY_RIGHTALT, Page::Keyboard, 0xE6},
    {KEY_RIGHTMETA, Page::Keyboard, 0xE7},
    {KEY_POWER, Page::System, 0x81},
    {KEY_SLEEP, Page::System, 0x82},
    {KEY_WAKEUP, Page::System, 0x83},
    {KEY_VOLUMEUP, Page::Consumer, 0x00E9},
    {KEY_VOLUMEDOWN, Page::Consumer, 0x00EA},
    {KEY_CONFIG, Page::Consumer, 0x0183},
    {KEY_MAIL, Page::Consumer, 0x018A},
    {KEY_CALC, Page::Consumer, 0x0192},
    {KEY_FILE, Page::Consumer, 0x0194},
    {KEY_SEARCH, Page::Consumer, 0x0221},
    {KEY_HOMEPAGE, Page::Consumer, 0x0223},
    {KEY_BACK, Page::Consumer, 0x0224},
    {KEY_FORWARD, Page::Consumer, 0x0225},
    {KEY_STOP, Page::Consumer, 0x0226},
    {KEY_REFRESH, Page::Consumer, 0x0227},
    {KEY_BOOKMARKS, Page::Consumer, 0x022A},
    {KEY_MUTE, Page::Consumer, 0x00E2},
    {KEY_PLAYPAUSE, Page::Consumer, 0x00CD},
    {KEY_STOPCD, Page::Consumer, 0x00B7},
    {KEY_PREVIOUSSONG, Page::Consumer, 0x00B6},
    {KEY_NEXTSONG, Page::Consumer, 0x00B5},
};

TEST(EvdevKeyTable, AgreesWithTheLinuxHidDriver)
{
    for (const HidKey& hid : LinuxHidKeys) {
        const KeyCode& row = KeyCodeOfScan(ScanFromEvdev(hid.evdevCode));
        switch (hid.page) {
        case Page::Keyboard:
        case Page::System:
            EXPECT_EQ(row.deviceCode, hid.usage) << "evdev " << hid.evdevCode;
            break;
        case Page::Consumer:
            ASSERT_GE(row.deviceCode, 0xC0) << "evdev " << hid.evdevCode;
            EXPECT_EQ(ConsumerUsageAt(row.deviceCode - 0xC0u), hid.usage) << "evdev " << hid.evdevCode;
            break;
        }
    }
    // F13 has no device code to compare.
    EXPECT_EQ(ScanFromEvdev(KEY_F13), 0x64);
    EXPECT_EQ(std::size(LinuxHidKeys) + 1, EvdevKeys().size());
}

#endif

}  // namespace
}  // namespace trevolin::keyboard
