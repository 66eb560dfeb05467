#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trevolin::keyboard {

// Puts one unsigned number into a printf-style format that comes from a
// user-editable file, without ever handing that format to printf. The first
// integer conversion (%d %i %u %x %X %o, with flags, width, precision and
// length modifiers) receives the number; "%%" gives "%"; any other
// conversion, and any integer conversion after the first, stays as written.
// Width and precision are limited to MaxFieldWidth.
std::string SubstituteUnsigned(std::string_view format, uint32_t value);

inline constexpr size_t MaxFieldWidth = 64;

}  // namespace trevolin::keyboard
