#pragma once

#include <cstdint>

namespace trevolin::lighting::preview {

// Where the preview's chance comes from. The animations reseed with the
// current time in seconds before they draw, so everything random in a frame
// follows from the clock; tests put a fixed clock and numbers here.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual uint64_t NowSeconds() = 0;
    virtual void Seed(uint32_t seed) = 0;
    virtual uint32_t Next() = 0;
};

}  // namespace trevolin::lighting::preview
