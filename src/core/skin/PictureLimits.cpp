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

std::string_view PictureLimits::FormatOf(std::span<const uint8_t> bytes)
{
    const auto startsWith = [bytes](std::initializer_list<uint8_t> magic) {
        return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
    };
    if (startsWith({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}))
        return "png";
    if (startsWith({'B', 'M'}))
        return "bmp";
    if (startsWith({0xFF, 0xD8, 0xFF}))
        return "jpeg";
    if (startsWith({'G', 'I', 'F', '8'}))
        return "gif";
    return {};
}

}  // namespace trevolin::skin
