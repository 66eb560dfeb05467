#pragma once

#include "core/lighting/RgbColor.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace trevolin::lighting {

// One profile's 512-byte per-key colour page, laid out as the keyboard
// keeps it (commands 16 and 17): light position n at bytes 3n to 3n + 2,
// red, green, blue. Only positions 0 to 143 are ever transferred, in eight
// runs of 18 positions.
class ColourPage {
public:
    static constexpr size_t Size = 512;
    static constexpr size_t PositionCount = 144;
    static constexpr size_t RunPositions = 18;
    static constexpr size_t RunBytes = RunPositions * 3;  // 54, one command each
    static constexpr size_t RunCount = PositionCount / RunPositions;

    // Black for a position outside the transferred ones.
    RgbColor At(size_t position) const;
    // False, with nothing changed, for a position outside them.
    bool Set(size_t position, RgbColor colour);

    // The bytes of run `run` (0 to 7), as command 17 sends them.
    std::span<const uint8_t, RunBytes> Run(size_t run) const;
    // Stores what command 16 read for run `run`; false for a run past 7.
    bool StoreRun(size_t run, std::span<const uint8_t, RunBytes> bytes);

    const std::array<uint8_t, Size>& Bytes() const { return bytes_; }

    bool operator==(const ColourPage&) const = default;

private:
    std::array<uint8_t, Size> bytes_{};
};

}  // namespace trevolin::lighting
