#pragma once

#include <cstdint>

namespace trevolin::lighting {

// Red, green, blue, one byte each; the files write it as "%d,%d,%d".
struct RgbColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    bool operator==(const RgbColor&) const = default;
};

inline constexpr RgbColor White{255, 255, 255};

}  // namespace trevolin::lighting
