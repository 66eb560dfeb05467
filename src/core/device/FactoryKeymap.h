#pragma once

#include <array>
#include <cstdint>

namespace trevolin::device {

// The keyboard's default key map as the program assumes it until a keyboard
// has told it its own: positions 0 to 62, three bytes each, the rest zero.
const std::array<uint8_t, 512>& BuiltInFactoryKeymap();

}  // namespace trevolin::device
