#pragma once

#include <cstdint>

namespace trevolin::keys {

// Print Screen: some desktops deliver only its release.
inline constexpr uint16_t PrintScreenKeyCode = 0x137;

// One key event as the key assignment's key page sees it, its key code
// already worked out (0 when the program does not know the key).
struct SeenKeyEvent {
    uint16_t keyCode = 0;
    bool press = true;  // false: a release
    bool autoRepeat = false;
};

enum class CaptureVerdict {
    PassOn,   // the program and the desktop get it: media keys, unknown keys
    Swallow,  // kept from the rest of the program; nothing is captured
    Capture,  // kept, and it is the key the user chose
};

// The key page's decision. Media keys and keys the program does not know
// pass on; every other key is swallowed. With the keyboard source chosen a
// fresh press is captured (never a release or an auto-repeat), Print Screen
// on any of its events but an auto-repeat. A key the keyboard cannot send
// (F13, Sleep: no device code) is never captured: it would become a dead
// key that still shows its name.
CaptureVerdict DecideCapture(const SeenKeyEvent& event, bool keyboardSource);

// The key code of a key event from its native scan code, which X11 and
// Wayland both give as the evdev code plus 8; 0 when it is 0 (the
// offscreen platform, synthesized events) or names no key the program knows.
uint16_t KeyCodeOfNativeScan(uint32_t nativeScanCode);

// The key code of a key event: from its native scan code when that names a
// key; otherwise (a scan code of 0, as remote and synthesized events may
// carry) from its X keysym, read as on a US layout: the key that types
// it there. 0 when neither names a key.
uint16_t KeyCodeOfKeyEvent(uint32_t nativeScanCode, uint32_t keysym);

}  // namespace trevolin::keys
