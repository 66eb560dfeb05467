#include "core/lighting/preview/LevelCurves.h"

#include <array>

namespace trevolin::lighting::preview {
namespace {

constexpr std::array<uint8_t, PulseLength / 2> PulseRise = {
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255,
};

// The rest of the flash curve, up to its full length, is dark.
constexpr std::array<uint8_t, 80> FlashLit = {
    0,   4,   8,   14,  22,  33,  45,  61,  77,  94,  114, 134, 158, 182, 206, 234, 255, 248, 241, 234,
    227, 220, 213, 206, 200, 194, 188, 182, 176, 170, 164, 158, 152, 146, 140, 134, 129, 124, 119, 114,
    109, 104, 99,  94,  89,  85,  81,  77,  73,  69,  65,  61,  57,  53,  49,  45,  42,  39,  36,  33,
    30,  27,  24,  22,  20,  18,  16,  14,  12,  10,  9,   8,   7,   6,   5,   4,   3,   2,   2,   1,
};

constexpr std::array<uint8_t, BreathingLength / 2> BreathingRise = {
    3,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  16,  18,  20,  22,  24,  27,  30,  33,  36,
    39,  42,  45,  49,  53,  57,  61,  65,  69,  73,  77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129,
    134, 140, 146, 152, 158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255,
};

template <size_t Half>
constexpr std::array<uint8_t, 2 * Half> RiseAndFall(const std::array<uint8_t, Half>& rise)
{
    std::array<uint8_t, 2 * Half> curve{};
    for (size_t i = 0; i < Half; ++i) {
        curve[i] = rise[i];
        curve[2 * Half - 1 - i] = rise[i];
    }
    return curve;
}

constexpr std::array<uint8_t, FlashLength> BuildFlash()
{
    std::array<uint8_t, FlashLength> curve{};
    for (size_t i = 0; i < FlashLit.size(); ++i)
        curve[i] = FlashLit[i];
    return curve;
}

constexpr std::array<uint8_t, PulseLength> Pulse = RiseAndFall(PulseRise);
constexpr std::array<uint8_t, FlashLength> Flash = BuildFlash();
constexpr std::array<uint8_t, BreathingLength> Breathing = RiseAndFall(BreathingRise);

}  // namespace

std::span<const uint8_t, PulseLength> PulseCurve()
{
    return Pulse;
}

std::span<const uint8_t, FlashLength> FlashCurve()
{
    return Flash;
}

std::span<const uint8_t, BreathingLength> BreathingCurve()
{
    return Breathing;
}

}  // namespace trevolin::lighting::preview
