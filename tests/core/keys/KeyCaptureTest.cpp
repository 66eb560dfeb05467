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
