#pragma once

#include "core/lighting/RgbColor.h"

#include <cstdint>

namespace trevolin::lighting {

// One profile's lighting setting as the panel shows it. The keyboard holds
// it; the program only mirrors the record it last read or wrote.
struct LightMode {
    static constexpr uint8_t MaxBrightness = 4;
    static constexpr uint8_t MaxSpeed = 4;
    static constexpr uint8_t MaxColourChoice = 3;  // 0 red, 1 yellow, 2 green, 3 blue
    static constexpr uint8_t MaxReportRate = 3;
    // Left; up for effect 12, diffuse for effect 18.
    static constexpr uint8_t DirectionLeft = 255;
    // Right; down for effect 12, converge for effect 18.
    static constexpr uint8_t DirectionRight = 0;

    uint8_t mode = 1;
    uint8_t brightness = 4;
    uint8_t speed = 2;
    uint8_t direction = DirectionRight;
    bool multicolour = true;
    RgbColor colour = White;
    uint8_t colourChoice = 0;
    uint8_t reportRate = 0;

    // Read back and kept; the panel has no control for them.
    uint8_t triggerChoice = 0;
    RgbColor secondColour;
    bool secondMulticolour = false;
    RgbColor thirdColour;
    bool thirdMulticolour = false;

    bool operator==(const LightMode&) const = default;
};

}  // namespace trevolin::lighting
