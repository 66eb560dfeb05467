#include "core/lighting/ColourPage.h"

#include <algorithm>

namespace trevolin::lighting {

RgbColor ColourPage::At(size_t position) const
{
    if (position >= PositionCount)
        return {};
    const size_t at = position * 3;
    return {bytes_[at], bytes_[at + 1], bytes_[at + 2]};
}

bool ColourPage::Set(size_t position, RgbColor colour)
{
    if (position >= PositionCount)
        return false;
    const size_t at = position * 3;
    bytes_[at] = colour.red;
    bytes_[at + 1] = colour.green;
    bytes_[at + 2] = colour.blue;
    return true;
}

std::span<const uint8_t, ColourPage::RunBytes> ColourPage::Run(size_t run) const
{
    // Callers only ask for runs 0 to 7; anything past reads the last run
    // rather than beyond the page.
    const size_t at = std::min(run, RunCount - 1) * RunBytes;
    return std::span<const uint8_t, RunBytes>(bytes_.data() + at, RunBytes);
}

bool ColourPage::StoreRun(size_t run, std::span<const uint8_t, RunBytes> bytes)
{
    if (run >= RunCount)
        return false;
    std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(run * RunBytes));
    return true;
}

}  // namespace trevolin::lighting
