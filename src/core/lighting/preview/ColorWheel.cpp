#include "core/lighting/preview/ColorWheel.h"

#include <array>

namespace trevolin::lighting::preview {
namespace {

constexpr size_t SegmentSize = 32;

constexpr std::array<uint8_t, SegmentSize> Rising = {
    1,  3,  5,  7,   10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
    81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255,
};

constexpr std::array<uint8_t, SegmentSize> Falling = {
    248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
    69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0,
};

constexpr TintColor WheelEntry(size_t index)
{
    const size_t i = index % SegmentSize;
    const uint8_t up = Rising[i];
    const uint8_t down = Falling[i];
    switch (index / SegmentSize) {
    case 0:
        return {255, up, 0};
    case 1:
        return {down, 255, 0};
    case 2:
        return {0, 255, up};
    case 3:
        return {0, down, 255};
    case 4:
        return {up, 0, 255};
    default:
        return {255, 0, down};
    }
}

constexpr std::array<TintColor, ColorTableSize> BuildTable()
{
    std::array<TintColor, ColorTableSize> table{};
    for (size_t k = 0; k < ColorTableSize; ++k)
        table[k] = WheelEntry(k % WheelSize);
    return table;
}

constexpr std::array<TintColor, ColorTableSize> Table = BuildTable();

}  // namespace

TintColor WheelColor(size_t index)
{
    return Table[index % WheelSize];
}

TintColor TableColor(uint8_t index)
{
    return Table[index];
}

std::span<const TintColor, ColorTableSize> ColorTable()
{
    return Table;
}

}  // namespace trevolin::lighting::preview
