// What the key assignment's key page does with each key event.
#include "core/keys/KeyCapture.h"

#include "core/keyboard/EvdevKeyTable.h"
#include "core/keyboard/KeyCodeTable.h"
#include "core/keys/MediaFunctions.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace trevolin::keys {
namespace {

constexpr uint16_t NumLock = 0x145;
constexpr uint16_t Pause = 0x45;

TEST(KeyCapture, NativeScanCodesAreEvdevPlusEight)
{
    EXPECT_EQ(KeyCodeOfNativeScan(69 + 8), NumLock);
    EXPECT_EQ(KeyCodeOfNativeScan(119 + 8), Pause);
    EXPECT_EQ(KeyCodeOfNativeScan(99 + 8), PrintScreenKeyCode);
    EXPECT_EQ(KeyCodeOfNativeScan(0), 0);  // offscreen, synthesized
    EXPECT_EQ(KeyCodeOfNativeScan(5), 0);  // below the offset
}

// Without a scan code the keysym names the key, as on a US layout; a scan
// code that names a key wins (it is the physical key, whatever the layout).
TEST(KeyCapture, WithoutAScanCodeTheKeysymNamesTheKey)
{
    struct Case {
        const char* name;
        uint32_t scan;
        uint32_t keysym;
        uint16_t expected;
    };
    const Case cases[] = {
        {"a", 0, 'a', KeyCodeOfNativeScan(30 + 8)},
        {"A with Shift", 0, 'A', KeyCodeOfNativeScan(30 + 8)},
        {"! is the 1 key", 0, '!', KeyCodeOfNativeScan(2 + 8)},
        {"0", 0, '0', KeyCodeOfNativeScan(11 + 8)},
        {"F12", 0, 0xffc9, KeyCodeOfNativeScan(88 + 8)},
        {"Num Lock", 0, 0xff7f, NumLock},
        {"Pause", 0, 0xff13, Pause},
        {"Print", 0, 0xff61, PrintScreenKeyCode},
        {"keypad 7 with Num Lock off", 0, 0xff95, KeyCodeOfNativeScan(71 + 8)},
        {"unknown keysym", 0, 0x1008ff13, 0},
        {"scan code wins", 30 + 8, 'q', KeyCodeOfNativeScan(30 + 8)},
        {"a scan code naming no key falls back", 5, 'b', KeyCodeOfNativeScan(48 + 8)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyCodeOfKeyEvent(c.scan, c.keysym), c.expected) << c.name;
    EXPECT_NE(KeyCodeOfKeyEvent(0, 'a'), 0);
}

TEST(KeyCapture, FreshPressesOfKeysTheKeyboardCanSendAreCaptured)
{
    const uint16_t media = MediaKeyCode(0);
    struct Case {
        const char* name;
        SeenKeyEvent event;
        bool keyboardSource;
        CaptureVerdict expected;
    };
    const Case cases[] = {
        {"press", {NumLock, true, false}, true, CaptureVerdict::Capture},
        {"release", {NumLock, false, false}, true, CaptureVerdict::Swallow},
        {"auto-repeat", {NumLock, true, true}, true, CaptureVerdict::Swallow},
        {"mouse source", {NumLock, true, false}, false, CaptureVerdict::Swallow},
        {"Print Screen's release alone", {PrintScreenKeyCode, false, false}, true, CaptureVerdict::Capture},
        {"Print Screen repeating", {PrintScreenKeyCode, true, true}, true, CaptureVerdict::Swallow},
        {"media key", {media, true, false}, true, CaptureVerdict::PassOn},
        {"unknown key", {0, true, false}, true, CaptureVerdict::PassOn},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecideCapture(c.event, c.keyboardSource), c.expected) << c.name;
}

// A key the program knows but the keyboard cannot send is not captured: it
// would become a dead key that still shows its name.
TEST(KeyCapture, KeysWithoutADeviceCodeAreRefused)
{
    const auto keys = keyboard::EvdevKeys();
    const auto unsendable = std::find_if(keys.begin(), keys.end(), [](const keyboard::EvdevKey& k) {
        const keyboard::KeyCode& row = keyboard::KeyCodeOfScan(k.scan);
        bool media = false;
        for (uint32_t i = 0; i < MediaFunctionCount; ++i)
            media = media || MediaKeyCode(i) == k.scan;
        return !row.isEmpty() && row.deviceCode == 0 && !media;
    });
    ASSERT_NE(unsendable, keys.end());
    EXPECT_EQ(DecideCapture({unsendable->scan, true, false}, true), CaptureVerdict::Swallow) << unsendable->scan;
}

}  // namespace
}  // namespace trevolin::keys
