// The simulated keyboard's factory key map: the 512-byte block that
// command 15 reads and that every profile's key-map block holds until the
// program writes one.
#pragma once

#include <array>
#include <cstdint>

namespace trevolin::sim {

class FactoryKeymap {
public:
    static constexpr int kPositions = 126;  // 3 bytes each, bytes 0..377
    static constexpr int kSize = 512;

    // Built once from the layout table in FactoryKeymap.cpp.
    static const std::array<uint8_t, kSize>& bytes();
};

}  // namespace trevolin::sim
