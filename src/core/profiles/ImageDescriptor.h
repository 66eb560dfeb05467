#pragma once

#include <cstdint>
#include <span>

namespace trevolin::profiles {

// The 32 bytes after the header. Written with the same content into every
// image and never interpreted when read; the keyboard's USB ids are in it.
struct ImageDescriptor {
    static constexpr uint16_t VendorId = 0x0C45;
    static constexpr uint16_t ProductId = 0x5004;

    // `out` holds at least 32 bytes.
    static void Write(std::span<uint8_t> out);
};

}  // namespace trevolin::profiles
