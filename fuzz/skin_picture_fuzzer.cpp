// Feeds arbitrary bytes as a skin picture to the checks made before it is
// decoded (format, cut-off JPEG, size limits, the size taken from the first
// eight bytes), and as one row of pixels to the mask's outline. The format
// named is the one the first bytes carry; a size let through is within the
// limits; the runs inside the outline are exactly the pixels that are not
// white, in order.
#include "core/skin/MaskRuns.h"
#include "core/skin/PictureLimits.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

using namespace trevolin::skin;

namespace {

bool StartsWith(std::span<const uint8_t> bytes, std::string_view magic)
{
    return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
}

void CheckRuns(std::span<const uint32_t> row)
{
    const std::vector<MaskRun> runs = InsideRuns(row);
    const auto white = [&](size_t x) { return (row[x] & 0xFFFFFFu) == 0xFFFFFFu; };
    size_t x = 0;
    for (const MaskRun& run : runs) {
        if (run.start < 0 || run.end <= run.start || static_cast<size_t>(run.end) > row.size() ||
            static_cast<size_t>(run.start) < x || (run.start > 0 && !white(static_cast<size_t>(run.start) - 1)))
            __builtin_trap();
        for (; x < static_cast<size_t>(run.start); ++x) {
            if (!white(x))
                __builtin_trap();
        }
        for (; x < static_cast<size_t>(run.end); ++x) {
            if (white(x))
                __builtin_trap();
        }
    }
    for (; x < row.size(); ++x) {
        if (!white(x))
            __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    const std::string_view format = PictureLimits::FormatOf(bytes);
    const bool jpeg = StartsWith(bytes, "\xFF\xD8\xFF");
    if ((format == "png") != StartsWith(bytes, "\x89PNG\r\n\x1A\n") || (format == "jpeg") != jpeg ||
        (format == "bmp") != StartsWith(bytes, "BM") || (format == "gif") != StartsWith(bytes, "GIF8"))
        __builtin_trap();
    if (PictureLimits::LooksTruncated(bytes) && !jpeg)
        __builtin_trap();

    if (size >= 8) {
        int32_t width = 0;
        int32_t height = 0;
        std::memcpy(&width, data, 4);
        std::memcpy(&height, data + 4, 4);
        if (PictureLimits::SizeProblem(width, height) == nullptr &&
            (width <= 0 || height <= 0 || width > PictureLimits::MaxSide || height > PictureLimits::MaxSide ||
             int64_t{width} * height > PictureLimits::MaxPixels))
            __builtin_trap();
    }

    std::vector<uint32_t> row(size / 4);
    if (!row.empty())
        std::memcpy(row.data(), data, row.size() * 4);
    CheckRuns(row);
    return 0;
}
