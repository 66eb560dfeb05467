#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace trevolin::profiles {

// The first 32 bytes of a profile image. Only the sizes are interpreted on
// reading; everything else is rebuilt whenever an image is written.
struct ProfileHeader {
    static constexpr uint16_t Magic = 0x4446;  // the bytes 'F' 'D'
    static constexpr size_t ChecksumOffset = 31;

    uint16_t magic = Magic;
    uint16_t headerSize = 32;
    uint16_t word4 = 3;
    uint16_t word6 = 1;
    uint32_t totalSize = 0;
    uint16_t entryCount = 2048;
    uint16_t macroCount = 0;
    uint32_t stringBytes = 0;
    uint8_t flags = 0;
    uint8_t checksum = 0;

    // `bytes` holds at least the 32 header bytes.
    static ProfileHeader Read(std::span<const uint8_t> bytes);

    // The sum of bytes 0 to 30, modulo 256.
    static uint8_t ComputeChecksum(std::span<const uint8_t> bytes);

    // The size the header's counts add up to (never wraps, unlike totalSize).
    uint64_t ImpliedSize() const;
};

// Fills the 32 header bytes at the start of `image` (at least 32 bytes)
// for an image with these counts, checksum included.
void BuildHeader(std::span<uint8_t> image, uint16_t macroCount, uint32_t stringBytes, uint8_t flags);

}  // namespace trevolin::profiles
