#pragma once

#include "core/keyboard/KeyCode.h"

#include <cstddef>
#include <cstdint>

namespace trevolin::keyboard {

inline constexpr size_t KeyCodeRowCount = 256;
inline constexpr size_t ConsumerTableSize = 32;
inline constexpr size_t VkTableSize = 256;

// Scan value (set-1 make code, 0x100 for E0-prefixed keys) to row index:
// the extended flag folds into bit 7. Scan values from 0x200 on are not
// produced by the program and give indexes beyond the table (the same rule
// numbers the G keys); every row lookup treats those as empty.
uint32_t ScanToIndex(uint32_t scan);

// Row index back to scan value; 0 for an index outside the table.
uint16_t IndexToScan(uint32_t index);

// The row at an index; the empty row for an index outside the table.
const KeyCode& KeyCodeRow(uint32_t index);

const KeyCode& KeyCodeOfScan(uint32_t scan);

// Row index of the key that produces a virtual-key code; 0 = none.
uint8_t VkTableEntry(uint32_t vk);

// HID consumer usage of device code 0xC0 + position; 0 for an unused slot.
uint16_t ConsumerUsageAt(uint32_t position);

}  // namespace trevolin::keyboard
