#pragma once

#include "../quellink.h"
#include "CollectionUsage.h"

#include <cstdint>
#include <optional>

namespace ql::hid {

// The collections a caller's unit selects. The low four match-flag bits say
// which of vendor id, product id, usage page and usage must be equal; the
// program always sets all four (15).
class UnitMatch {
public:
    static constexpr uint32_t kVendor = 1;
    static constexpr uint32_t kProduct = 2;
    static constexpr uint32_t kUsagePage = 4;
    static constexpr uint32_t kUsage = 8;
    static constexpr uint32_t kAll = kVendor | kProduct | kUsagePage | kUsage;

    // Empty when the flags carry unknown bits, or do not name the vendor and
    // the product: such a unit would select every HID device on the machine.
    static std::optional<UnitMatch> fromUnit(const QlUnitId& unit);

    UnitMatch(uint16_t vendorId, uint16_t productId, CollectionUsage collection, uint32_t flags = kAll);

    bool matchesDevice(uint16_t vendorId, uint16_t productId) const;
    bool matchesCollection(CollectionUsage collection) const;
    uint16_t vendorId() const { return vendorId_; }
    uint16_t productId() const { return productId_; }

    friend bool operator==(const UnitMatch&, const UnitMatch&) = default;

private:
    uint32_t flags_;
    uint16_t vendorId_;
    uint16_t productId_;
    CollectionUsage collection_;
};

}  // namespace ql::hid
