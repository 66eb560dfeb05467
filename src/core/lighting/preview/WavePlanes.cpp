#include "core/lighting/preview/WavePlanes.h"

namespace trevolin::lighting::preview {
namespace {

uint8_t Up(uint8_t bits)
{
    return static_cast<uint8_t>(bits >> 1);
}

uint8_t Down(uint8_t bits)
{
    return static_cast<uint8_t>(bits << 1);
}

}  // namespace

void WavePlanes::Clear()
{
    for (auto& plane : planes_)
        plane.fill(0);
}

uint8_t WavePlanes::Byte(size_t plane, size_t column) const
{
    return plane < PlaneCount && column < Columns ? planes_[plane][column] : 0;
}

void WavePlanes::SetByte(size_t plane, size_t column, uint8_t value)
{
    if (plane < PlaneCount && column < Columns)
        planes_[plane][column] = value;
}

uint8_t WavePlanes::Column(size_t column) const
{
    if (column >= Columns)
        return 0;
    return static_cast<uint8_t>(planes_[0][column] | planes_[1][column] | planes_[2][column] | planes_[3][column]);
}

void WavePlanes::SetColumn(size_t column, uint8_t value)
{
    if (column >= Columns)
        return;
    for (auto& plane : planes_)
        plane[column] = value;
}

void WavePlanes::OrColumn(size_t column, uint8_t bits)
{
    if (column >= Columns)
        return;
    for (auto& plane : planes_)
        plane[column] = static_cast<uint8_t>(plane[column] | bits);
}

void WavePlanes::Spread()
{
    auto& p0 = planes_[0];
    auto& p1 = planes_[1];
    auto& p2 = planes_[2];
    auto& p3 = planes_[3];

    // Planes 3 and 0 (towards column 0), two columns at a time.
    p3[0] = Up(p3[0]);
    p0[0] = Down(p0[0]);
    for (size_t c = 0; c + 2 < Columns; c += 2) {
        const uint8_t a = p3[c + 1];
        p3[c] = static_cast<uint8_t>(p3[c] | a);
        const uint8_t b = p3[c + 2];
        const uint8_t x = p0[c + 1];
        p0[c] = static_cast<uint8_t>(p0[c] | x);
        p3[c + 1] = static_cast<uint8_t>(b | Up(a));
        const uint8_t y = p0[c + 2];
        p3[c + 2] = Up(b);
        p0[c + 1] = static_cast<uint8_t>(y | Down(x));
        p0[c + 2] = Down(y);
    }

    // Planes 2 and 1 (towards the last column), from the right end back.
    constexpr size_t Last = Columns - 1;
    p2[Last] = static_cast<uint8_t>(p2[Last - 1] | Up(p2[Last]));
    p1[Last] = static_cast<uint8_t>(p1[Last - 1] | Down(p1[Last]));
    p1[Last - 1] = Down(p1[Last - 1]);
    p2[Last - 1] = Up(p2[Last - 1]);
    for (size_t c = Last - 1; c-- > 0;) {
        p2[c + 1] = static_cast<uint8_t>(p2[c + 1] | p2[c]);
        p1[c + 1] = static_cast<uint8_t>(p1[c + 1] | p1[c]);
        p2[c] = Up(p2[c]);
        p1[c] = Down(p1[c]);
    }
}

void WavePlanes::Fall()
{
    for (size_t c = 0; c < Columns; ++c) {
        planes_[0][c] = Down(planes_[0][c]);
        planes_[1][c] = Down(planes_[1][c]);
        planes_[2][c] = Up(planes_[2][c]);
        planes_[3][c] = Up(planes_[3][c]);
    }
}

}  // namespace trevolin::lighting::preview
