#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace trevolin::keyboard {

// The keys the macro editor offers: the physical key ids 0x0000..0x0069 in
// order, so a key's position in the list is its key id.
inline constexpr size_t MacroKeyCount = 106;

// Key id at a list position; nothing past the end.
std::optional<uint16_t> MacroKeyId(size_t position);

// The key code the editor stores for a list position; 0 past the end.
uint16_t MacroKeyScan(size_t position);

}  // namespace trevolin::keyboard
