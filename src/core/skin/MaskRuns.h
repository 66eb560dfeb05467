#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace trevolin::skin {

// A window's outline comes from its mask picture: every pixel that is not
// pure white belongs to the window.
struct MaskRun {
    int start;  // first pixel inside
    int end;    // one past the last

    bool operator==(const MaskRun&) const = default;
};

// One row of 0xAARRGGBB pixels; alpha does not count, only pure white
// (all three channels 255) lies outside.
std::vector<MaskRun> InsideRuns(std::span<const uint32_t> row);

}  // namespace trevolin::skin
