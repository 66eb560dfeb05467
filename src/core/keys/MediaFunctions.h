#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace trevolin::keys {

// The multimedia functions a key can be given (kind Media), by media
// index: the key whose name the program shows for it, and the HID consumer
// usage the keyboard sends.
inline constexpr size_t MediaFunctionCount = 18;

// 0 for an index past the table.
uint16_t MediaKeyCode(uint32_t mediaIndex);
uint16_t MediaUsage(uint32_t mediaIndex);

// The media index whose usage this is; nothing for a usage not in the table.
std::optional<uint32_t> MediaIndexOfUsage(uint16_t usage);

}  // namespace trevolin::keys
