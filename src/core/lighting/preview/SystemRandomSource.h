#pragma once

#include "core/lighting/preview/RandomSource.h"

namespace trevolin::lighting::preview {

// The wall clock and a small linear congruential generator (0 to 32767).
class SystemRandomSource final : public RandomSource {
public:
    uint64_t NowSeconds() override;
    void Seed(uint32_t seed) override;
    uint32_t Next() override;

private:
    uint32_t state_ = 1;
};

}  // namespace trevolin::lighting::preview
