#pragma once

#include "core/lighting/preview/PreviewLayout.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace trevolin::lighting::preview {

// Four bit planes over the grid's columns that carry a wave front: byte c is
// column c, bit r is row r (bits 6 and 7 are two rows below the grid, where a
// front can wait before it enters). Planes 0 and 1 drift down, 2 and 3 up;
// planes 0 and 3 drift towards column 0, 1 and 2 towards the last column.
class WavePlanes {
public:
    static constexpr size_t PlaneCount = 4;
    static constexpr size_t Columns = GridColumns;

    void Clear();

    uint8_t Byte(size_t plane, size_t column) const;
    void SetByte(size_t plane, size_t column, uint8_t value);

    // The column's bytes of all four planes OR-ed together.
    uint8_t Column(size_t column) const;

    // Each of the four planes' bytes at the column.
    void SetColumn(size_t column, uint8_t value);
    void OrColumn(size_t column, uint8_t bits);

    // One step of the front in every direction of its plane.
    void Spread();

    // One step down (planes 0, 1) or up (planes 2, 3), without any sideways
    // drift: what the rain does.
    void Fall();

private:
    std::array<std::array<uint8_t, Columns>, PlaneCount> planes_{};
};

}  // namespace trevolin::lighting::preview
