#pragma once

#include "core/lighting/preview/PreviewLayout.h"

#include <array>
#include <cstdint>

namespace trevolin::lighting::preview {

// How fast a lit cell dies down: bright cells drop by `high`, then the steps
// get smaller so that the tail glows a while before going dark.
struct FadeRule {
    uint8_t high;    // level 128 and above
    uint8_t middle;  // bit 0x40 set
    uint8_t low;     // bit 0x20 set
};

inline constexpr FadeRule RippleFade{80, 50, 20};
inline constexpr FadeRule ShowFade{30, 20, 10};
inline constexpr FadeRule RainFade{20, 16, 10};  // also the bounce's

// A level and a colour-table index per cell, for the effects that light keys
// and let them fade.
class CellSet {
public:
    explicit CellSet(FadeRule rule) : rule_(rule) {}

    void Clear();

    // Cells outside the arrays are ignored: they have no state to keep.
    void Light(uint8_t cell, uint8_t level);
    void SetColorIndex(uint8_t cell, uint8_t colorIndex);

    uint8_t Level(uint8_t cell) const;
    uint8_t ColorIndex(uint8_t cell) const;

    // One step of the rule; returns the cell's new level.
    uint8_t Fade(uint8_t cell);

    static uint8_t Faded(uint8_t level, FadeRule rule);

private:
    FadeRule rule_;
    std::array<uint8_t, CellCount> colorIndex_{};
    std::array<uint8_t, CellCount> level_{};
};

}  // namespace trevolin::lighting::preview
