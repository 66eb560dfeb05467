#include "core/device/CallChecksum.h"

namespace trevolin::device {

const std::array<uint8_t, 256>& SumTable()
{
    static const std::array<uint8_t, 256> table = [] {
        std::array<uint8_t, 256> t{};
        for (unsigned i = 0; i < 256; ++i)
            t[i] = static_cast<uint8_t>((i * 0x9D + 0x3B) % 256);
        return t;
    }();
    return table;
}

uint32_t CallChecksum(uint32_t total, const uint8_t* bytes, size_t count)
{
    const auto& table = SumTable();
    for (size_t i = 0; i < count; ++i)
        total += table[bytes[i]];
    return total;
}

}  // namespace trevolin::device
