#pragma once

#include <cstdint>

namespace trevolin::lighting::preview {

// The colour a key button is tinted with. It carries the same three bytes as
// the lighting model's colour; the preview keeps its own small type so that
// it depends on nothing but the key layout.
struct TintColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    bool operator==(const TintColor&) const = default;
};

// Each channel times level / 255, truncated: level 255 leaves the colour as
// it is, level 0 makes it black.
constexpr TintColor Scaled(TintColor color, uint8_t level)
{
    return {static_cast<uint8_t>(color.red * level / 255), static_cast<uint8_t>(color.green * level / 255),
            static_cast<uint8_t>(color.blue * level / 255)};
}

}  // namespace trevolin::lighting::preview
