#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace trevolin::skin {

// Skin pictures are outside input: what a window agrees to decode.
struct PictureLimits {
    static constexpr size_t MaxFileBytes = 64u * 1024 * 1024;
    static constexpr int MaxSide = 8192;
    static constexpr int64_t MaxPixels = 32ll * 1024 * 1024;

    // nullptr when a picture of this size may be decoded, else why not.
    static const char* SizeProblem(int width, int height);

    // A JPEG whose end marker is missing was cut short: decoders fill the
    // rest with grey and call it a success. Other formats pass.
    static bool LooksTruncated(std::span<const uint8_t> bytes);

    // The format a picture's first bytes name: "png", "bmp", "jpeg" or
    // "gif"; empty when they name none of these. A decoder told the format
    // goes straight to it instead of trying every one it has.
    static std::string_view FormatOf(std::span<const uint8_t> bytes);
};

}  // namespace trevolin::skin
