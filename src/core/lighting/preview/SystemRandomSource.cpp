#include "core/lighting/preview/SystemRandomSource.h"

#include <chrono>

namespace trevolin::lighting::preview {

uint64_t SystemRandomSource::NowSeconds()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::seconds>(now).count());
}

void SystemRandomSource::Seed(uint32_t seed)
{
    state_ = seed;
}

uint32_t SystemRandomSource::Next()
{
    state_ = state_ * 1103515245u + 12345u;
    return (state_ >> 16) & 0x7FFF;
}

}  // namespace trevolin::lighting::preview
