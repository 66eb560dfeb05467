#pragma once

#include "transport/quellink.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace trevolin::device {

// The 16-byte selector of one HID collection of the keyboard.
struct UnitId {
    uint32_t matchFlags = 15;
    uint16_t vendorId = 0x0C45;
    uint16_t productId = 0x5004;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint32_t reserved = 0;

    std::array<uint8_t, 16> bytes() const;  // little-endian, field by field
    constexpr QlUnitId toAbi() const { return QlUnitId{matchFlags, vendorId, productId, usagePage, usage, reserved}; }
};

inline constexpr UnitId VendorUnit{15, 0x0C45, 0x5004, 0xFF1C, 0x0092, 0};
inline constexpr UnitId ConsumerUnit{15, 0x0C45, 0x5004, 0x000C, 0x0001, 0};
inline constexpr UnitId StatusUnit{15, 0x0C45, 0x5004, 0x0008, 0x0089, 0};

// The same selectors as the library takes them.
inline constexpr QlUnitId VendorAbi = VendorUnit.toAbi();
inline constexpr QlUnitId ConsumerAbi = ConsumerUnit.toAbi();
inline constexpr QlUnitId StatusAbi = StatusUnit.toAbi();

inline constexpr uint32_t TagCtrl = 0x4354524C;
inline constexpr uint32_t TagCons = 0x434F4E53;
inline constexpr uint32_t TagDel = 0x004C4544;

// The checksum of one library call: unit, callback address (low 32 bits),
// tag, then the data the call carries.
uint32_t ChecksumOfCall(const UnitId& unit, QlCallback callback, uint32_t tag, const uint8_t* data = nullptr,
                        size_t length = 0);

}  // namespace trevolin::device
