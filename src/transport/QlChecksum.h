// The library side of the call checksum: both transport libraries verify
// every call with it. The program computes the same sum on its own.
#pragma once

#include "quellink.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ql {

inline uint32_t sumBytes(uint32_t total, const uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        total += static_cast<uint8_t>(bytes[i] * 0x9D + 0x3B);
    return total;
}

inline uint32_t callSum(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, size_t length)
{
    uint8_t head[24] = {};
    std::memcpy(head, unit, 16);  // packed, little-endian on every target we build for
    const auto address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(cb));
    for (int i = 0; i < 4; ++i) {
        head[16 + i] = static_cast<uint8_t>(address >> (8 * i));
        head[20 + i] = static_cast<uint8_t>(tag >> (8 * i));
    }
    uint32_t total = sumBytes(0, head, sizeof head);
    return data ? sumBytes(total, data, length) : total;
}

}  // namespace ql
