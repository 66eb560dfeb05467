#include "core/skin/PictureLimits.h"

#include <algorithm>

namespace trevolin::skin {

const char* PictureLimits::SizeProblem(int width, int height)
{
    if (width <= 0 || height <= 0) {
        return "the picture is empty";
    }
    if (width > MaxSide || height > MaxSide || int64_t{width} * height > MaxPixels) {
        return "the picture is too large";
    }
    return nullptr;
}

bool PictureLimits::LooksTruncated(std::span<const uint8_t> bytes)
{
    const bool jpeg = bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
    if (!jpeg) {
        return false;
    }
    // Some writers pad after the end marker; look at the last bytes only.
    const size_t tail = std::min<size_t>(bytes.size(), 256);
    const auto end = bytes.subspan(bytes.size() - tail);
    for (size_t i = 0; i + 1 < end.size(); ++i) {
        if (end[i] == 0xFF && end[i + 1] == 0xD9) {
            return false;
        }
    }
    return true;
}

}  // namespace trevolin::skin
