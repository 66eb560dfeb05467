#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace trevolin::lighting::preview {

// Brightness curves (levels 0 to 255) that the animations walk through.

inline constexpr size_t PulseLength = 96;       // up and down again
inline constexpr size_t FlashLength = 128;      // a sharp rise, a long tail, then dark
inline constexpr size_t BreathingLength = 128;  // up and down again, from almost dark

std::span<const uint8_t, PulseLength> PulseCurve();
std::span<const uint8_t, FlashLength> FlashCurve();
std::span<const uint8_t, BreathingLength> BreathingCurve();

}  // namespace trevolin::lighting::preview
