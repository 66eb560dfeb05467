#include "core/device/UnitId.h"

#include "core/device/CallChecksum.h"
#include "core/device/Bytes.h"

namespace trevolin::device {

std::array<uint8_t, 16> UnitId::bytes() const
{
    std::array<uint8_t, 16> b{};
    PutLe32(b.data() + 0, matchFlags);
    PutLe16(b.data() + 4, vendorId);
    PutLe16(b.data() + 6, productId);
    PutLe16(b.data() + 8, usagePage);
    PutLe16(b.data() + 10, usage);
    PutLe32(b.data() + 12, reserved);
    return b;
}

uint32_t ChecksumOfCall(const UnitId& unit, QlCallback callback, uint32_t tag, const uint8_t* data, size_t length)
{
    const auto unitBytes = unit.bytes();
    uint8_t words[8];
    PutLe32(words, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(callback)));
    PutLe32(words + 4, tag);
    uint32_t total = CallChecksum(0, unitBytes.data(), unitBytes.size());
    total = CallChecksum(total, words, sizeof words);
    return CallChecksum(total, data, data ? length : 0);
}

}  // namespace trevolin::device
