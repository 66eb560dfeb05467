#include "core/keyboard/KeyCodeTable.h"
#include "core/keyboard/KeyConversions.h"

#include <gtest/gtest.h>

namespace trevolin::keyboard {
namespace {

TEST(KeyConversions, KeyIdsAndScanValuesRoundTrip)
{
    for (uint32_t index = 0; index < KeyCodeRowCount; ++index) {
        const KeyCode& row = KeyCodeRow(index);
        if (row.isEmpty())
            continue;
        const uint16_t scan = IndexToScan(index);
        EXPECT_EQ(KeyIdFromScan(scan), row.keyId);
        // Right Shift's twin row 182 (0x136) is never found by its id.
        EXPECT_EQ(ScanFromKeyId(row.keyId), index == 182 ? 0x36 : scan) << index;
    }
}

TEST(KeyConversions, KeyIdsWithoutAKey)
{
    EXPECT_EQ(ScanFromKeyId(0x006A), 0);
    EXPECT_EQ(ScanFromKeyId(0xFFFF), 0);  // the empty rows' marker
    EXPECT_EQ(ScanFromKeyId(0x10067), 0);
    EXPECT_EQ(KeyIdFromScan(0x55), KeyCode::EmptyKeyId);
}

TEST(KeyConversions, ScanFromVk)
{
    EXPECT_EQ(ScanFromVk(0x67), 0x47);   // VK_NUMPAD7
    EXPECT_EQ(ScanFromVk(0x2C), 0x137);  // VK_SNAPSHOT
    EXPECT_EQ(ScanFromVk(0x11), 0x1D);   // VK_CONTROL
    EXPECT_EQ(ScanFromVk(0x90), 0x145);  // VK_NUMLOCK
    EXPECT_EQ(ScanFromVk(0x13), 0x45);   // VK_PAUSE
    EXPECT_EQ(ScanFromVk(0x01), 0);
    EXPECT_EQ(ScanFromVk(0xFF), 0);
    EXPECT_EQ(ScanFromVk(0x141), 0);
}

uint32_t KeyData(uint32_t make, uint32_t otherBits = 0)
{
    return (make << 16) | otherBits;
}

TEST(KeyConversions, KeyCodeOfKeyMessage)
{
    struct Case {
        const char* what;
        uint32_t vk;
        uint32_t lParam;
        uint16_t expected;
    };
    const Case cases[] = {
        {"keypad 7", 0x67, KeyData(0x47), 0x47},
        {"keypad 7 without make code", 0x67, KeyData(0), 0x47},
        {"keypad 7 with Num Lock off", 0x24, KeyData(0x47), 0x47},
        {"keypad 5 with Num Lock off", 0x0C, KeyData(0x4C), 0x4C},
        {"Home", 0x24, KeyData(0x147), 0x147},
        {"right Shift whatever the VK", 0x41, KeyData(0x36), 0x36},
        {"right Shift as VK_SHIFT", 0x10, KeyData(0x36), 0x36},
        {"left Shift as VK_SHIFT", 0x10, KeyData(0x2A), 0x2A},
        {"right Ctrl as VK_CONTROL", 0x11, KeyData(0x11D), 0x11D},
        {"right Alt as VK_MENU", 0x12, KeyData(0x138), 0x138},
        {"keypad Enter", 0x0D, KeyData(0x11C), 0x11C},
        {"Enter without make code", 0x0D, KeyData(0), 0x1C},
        {"Sys Req", 0x2C, KeyData(0x54), 0x54},
        {"Print Screen", 0x2C, KeyData(0x137), 0x137},
        {"no VK: the make code counts", 0xFF, KeyData(0x73), 0x73},
        {"VK and make code disagree: the VK wins", 0x41, KeyData(0x30), 0x1E},
        {"repeat count and transition bits ignored", 0x41, KeyData(0x1E, 0xC0000001), 0x1E},
        {"bits above the extended flag ignored", 0x24, KeyData(0x147, 0x3E000000), 0x147},
        {"unknown VK, unknown make code", 0x07, KeyData(0x55), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyCodeOfKeyMessage(c.vk, c.lParam), c.expected) << c.what;
}

TEST(KeyConversions, ActionFromScan)
{
    struct Case {
        uint16_t scan;
        KeyActionPair expected;
    };
    const Case cases[] = {
        // clang-format off
        {0x1E, {KeyActionPair::KeyboardKey, 0x04}},     // A
        {0x120, {KeyActionPair::KeyboardKey, 0xCD}},    // Mute: media keys travel as keys
        {0x15E, {KeyActionPair::SystemControl, 0x81}},  // Power
        {0x163, {KeyActionPair::SystemControl, 0x83}},  // Wake
        {0x171, {KeyActionPair::MouseFunction, 0xF1}},  // left button
        {0x162, {KeyActionPair::MouseFunction, 0xF5}},  // wheel down
        {0x54, {}},                                     // Sys Req cannot be assigned
        {0x16E, {}},                                    // Pan Left: program-only
        {0x55, {}},                                     // empty row
        // clang-format on
    };
    for (const Case& c : cases)
        EXPECT_EQ(ActionFromScan(c.scan), c.expected) << std::hex << c.scan;
}

TEST(KeyConversions, ScanFromAction)
{
    struct Case {
        uint32_t type;
        uint32_t code;
        uint16_t expected;
    };
    const Case cases[] = {
        // clang-format off
        {12, 0x00E2, 0x120},  // mute
        {12, 0x0183, 0x16D},  // media player
        {12, 0x0000, 0},      // an unused consumer slot is not Zoom-
        {12, 0x1234, 0},
        {1, 0x82, 0x15F},     // Sleep
        {1, 0x90, 0},         // not a system control
        {7, 0x04, 0x1E},
        {7, 0x48, 0x45},      // Pause, not Break
        {7, 0xE5, 0x36},      // Right Shift's first row
        {7, 0x00, 0},         // rows without a device code are not found
        {7, 0x104, 0},        // no truncation to a byte
        {2, 0xF1, 0},         // mouse functions do not turn back into keys
        {0, 0x04, 0},
        // clang-format on
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScanFromAction(c.type, c.code), c.expected) << c.type << "/" << std::hex << c.code;
}

TEST(KeyConversions, KeyActionsRoundTripToTheFirstKeyWithThatCode)
{
    for (uint32_t index = 0; index < KeyCodeRowCount; ++index) {
        const uint16_t scan = IndexToScan(index);
        const KeyActionPair action = ActionFromScan(scan);
        if (action.type != KeyActionPair::KeyboardKey && action.type != KeyActionPair::SystemControl)
            continue;
        const uint16_t back = ScanFromAction(action.type, action.code);
        EXPECT_EQ(ActionFromScan(back), action) << index;
        const bool laterTwin = index == 198 /* Break */ || index == 182 /* Right Shift */;
        if (!laterTwin) {
            EXPECT_EQ(back, scan) << index;
        }
    }
}

TEST(KeyConversions, MediaFunctionsMatchTheirKeys)
{
    // media index order: key code shown, consumer usage sent
    const std::pair<uint16_t, uint16_t> media[] = {
        {0x16D, 0x0183}, {0x122, 0x00CD}, {0x124, 0x00B7}, {0x110, 0x00B6}, {0x119, 0x00B5}, {0x12E, 0x00EA},
        {0x130, 0x00E9}, {0x120, 0x00E2}, {0x132, 0x0223}, {0x167, 0x0227}, {0x168, 0x0226}, {0x16A, 0x0224},
        {0x169, 0x0225}, {0x166, 0x022A}, {0x165, 0x0221}, {0x16B, 0x0194}, {0x121, 0x0192}, {0x16C, 0x018A},
    };
    for (const auto& [scan, usage] : media)
        EXPECT_EQ(ScanFromAction(KeyActionPair::ConsumerFunction, usage), scan) << std::hex << usage;
}

TEST(KeyConversions, PressOnlyKeys)
{
    for (uint32_t scan : {0x54u, 0x71u, 0x72u, 0x137u})
        EXPECT_TRUE(IsPressOnlyKey(scan)) << std::hex << scan;
    // Same low byte, other key.
    for (uint32_t scan : {0x154u, 0x171u, 0x172u, 0x37u, 0x10137u, 0u})
        EXPECT_FALSE(IsPressOnlyKey(scan)) << std::hex << scan;
}

}  // namespace
}  // namespace trevolin::keyboard
