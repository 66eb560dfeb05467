#pragma once

#include <cstdint>

namespace trevolin::keys {

// The key number of a key code: its entry in a profile's block of the key
// table. Ordinary keys give 0 to 255; the G key codes 0x200 to 0x211 give
// 0x100 to 0x111. Larger codes give numbers past a block's 512 entries,
// which every user of the key table checks.
uint32_t KeyNumberOf(uint32_t keyCode);

}  // namespace trevolin::keys
