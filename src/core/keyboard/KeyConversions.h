#pragma once

#include "core/keyboard/KeyActionPair.h"

#include <cstdint>

namespace trevolin::keyboard {

// Scan values are the program's key codes. Every function accepts any
// number and answers 0 (or the empty key id 0xFFFF) where no key matches.

uint16_t KeyIdFromScan(uint32_t scan);

// The lowest row wins: Right Shift's id finds 0x36, never its twin 0x136.
uint16_t ScanFromKeyId(uint32_t keyId);

uint16_t ScanFromVk(uint32_t vk);

// A captured key message: the virtual-key code and the message's key data
// (bits 16..23 the make code, bit 24 the extended flag).
uint16_t KeyCodeOfKeyMessage(uint32_t vk, uint32_t lParam);

KeyActionPair ActionFromScan(uint32_t scan);
uint16_t ScanFromAction(uint32_t type, uint32_t code);

// Keys the keyboard reports without a separate release.
bool IsPressOnlyKey(uint32_t scan);

}  // namespace trevolin::keyboard
