#pragma once

#include <cstdint>
#include <span>

namespace trevolin::keyboard {

// A Linux input event key code (the KEY_* numbers) and the key code the
// program uses for that key.
struct EvdevKey {
    uint16_t evdevCode;
    uint16_t scan;
};

// Every key of the keyboard as the Linux HID driver reports it, including
// the media, browser and system keys of its Fn layer. Sys Req and Break are
// not keys of their own: Linux reports their keys as Print Screen and Pause.
std::span<const EvdevKey> EvdevKeys();

// The key code of an evdev key code; 0 for a key the program does not know.
uint16_t ScanFromEvdev(uint32_t evdevCode);

// X11 and XKB number keys as the evdev code plus 8.
uint16_t ScanFromXkbKeycode(uint32_t keycode);

}  // namespace trevolin::keyboard
