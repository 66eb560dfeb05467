#include "core/lighting/preview/WavePlanes.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace trevolin::lighting::preview {
namespace {

using Planes = std::array<std::array<uint8_t, GridColumns>, WavePlanes::PlaneCount>;

Planes Read(const WavePlanes& planes)
{
    Planes out{};
    for (size_t p = 0; p < WavePlanes::PlaneCount; ++p)
        for (size_t c = 0; c < GridColumns; ++c)
            out[p][c] = planes.Byte(p, c);
    return out;
}

// What one spread step amounts to, column by column: each bit moves one row
// in its plane's vertical direction and is also copied one column along its
// plane's sideways direction.
Planes SpreadModel(const Planes& in)
{
    auto at = [&](size_t p, int c) -> unsigned {
        return c >= 0 && c < static_cast<int>(GridColumns) ? in[p][static_cast<size_t>(c)] : 0u;
    };
    Planes out{};
    for (int c = 0; c < static_cast<int>(GridColumns); ++c) {
        const auto i = static_cast<size_t>(c);
        out[0][i] = static_cast<uint8_t>((at(0, c) << 1) | at(0, c + 1));
        out[1][i] = static_cast<uint8_t>((at(1, c) << 1) | at(1, c - 1));
        out[2][i] = static_cast<uint8_t>((at(2, c) >> 1) | at(2, c - 1));
        out[3][i] = static_cast<uint8_t>((at(3, c) >> 1) | at(3, c + 1));
    }
    return out;
}

TEST(PreviewWavePlanes, SpreadMovesEachPlaneOneRowAndOneColumn)
{
    std::mt19937 numbers(7);
    for (int round = 0; round < 50; ++round) {
        WavePlanes planes;
        for (size_t p = 0; p < WavePlanes::PlaneCount; ++p)
            for (size_t c = 0; c < GridColumns; ++c)
                planes.SetByte(p, c, static_cast<uint8_t>(numbers() & 0xFF));
        const Planes expected = SpreadModel(Read(planes));
        planes.Spread();
        ASSERT_EQ(Read(planes), expected) << "round " << round;
    }
}

TEST(PreviewWavePlanes, ASingleFrontWidensIntoADiagonalAndLeavesTheGrid)
{
    // Plane 1 alone: from row 2, column 8 the front reaches row 5, column 18
    // after 13 steps, and nothing is left once it has passed bit 7.
    WavePlanes planes;
    planes.SetByte(1, 8, 0x04);
    for (int step = 0; step < 13; ++step)
        planes.Spread();
    EXPECT_TRUE(planes.Byte(1, 18) & 0x20);
    EXPECT_EQ(planes.Byte(1, 7), 0);
    for (int step = 0; step < 30; ++step)
        planes.Spread();
    for (size_t c = 0; c < GridColumns; ++c)
        EXPECT_EQ(planes.Column(c), 0) << c;
}

TEST(PreviewWavePlanes, FallMovesTwoPlanesDownAndTwoUpWithoutDrift)
{
    WavePlanes planes;
    planes.OrColumn(4, 0x41);
    planes.Fall();
    EXPECT_EQ(planes.Byte(0, 4), 0x82);
    EXPECT_EQ(planes.Byte(1, 4), 0x82);
    EXPECT_EQ(planes.Byte(2, 4), 0x20);
    EXPECT_EQ(planes.Byte(3, 4), 0x20);
    EXPECT_EQ(planes.Column(3), 0);
    EXPECT_EQ(planes.Column(5), 0);
}

TEST(PreviewWavePlanes, ColumnsOutsideThePlanesAreIgnored)
{
    WavePlanes planes;
    planes.SetColumn(GridColumns, 0xFF);
    planes.OrColumn(GridColumns, 0xFF);
    planes.SetByte(4, 0, 0xFF);
    EXPECT_EQ(planes.Column(GridColumns), 0);
    for (size_t c = 0; c < GridColumns; ++c)
        EXPECT_EQ(planes.Column(c), 0);
}

}  // namespace
}  // namespace trevolin::lighting::preview
