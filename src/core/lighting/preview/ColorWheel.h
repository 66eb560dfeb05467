#pragma once

#include "core/lighting/preview/TintColor.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace trevolin::lighting::preview {

// Red, yellow, green, cyan, blue, magenta and back to red, in six segments of
// 32 steps.
inline constexpr size_t WheelSize = 192;

// The 256-entry table lets a byte index the wheel directly; it repeats the
// wheel's first 64 entries at its end.
inline constexpr size_t ColorTableSize = 256;

// Entry `index` of the wheel; an index past the wheel wraps round it.
TintColor WheelColor(size_t index);

// Entry `index` of the 256-entry table.
TintColor TableColor(uint8_t index);

std::span<const TintColor, ColorTableSize> ColorTable();

}  // namespace trevolin::lighting::preview
