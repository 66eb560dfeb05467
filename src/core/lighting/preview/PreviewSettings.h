#pragma once

#include "core/lighting/preview/TintColor.h"

#include <cstdint>

namespace trevolin::lighting::preview {

// The part of a profile's light mode that the preview shows.
struct PreviewSettings {
    uint8_t mode = 1;          // effect number
    uint8_t direction = 0;     // non-zero: left (up, diffuse); 0: right (down, converge)
    uint8_t multicolor = 255;  // non-zero: cycle through the colour wheel
    TintColor color{255, 255, 255};
};

}  // namespace trevolin::lighting::preview
