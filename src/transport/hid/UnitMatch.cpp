#include "UnitMatch.h"

namespace ql::hid {

std::optional<UnitMatch> UnitMatch::fromUnit(const QlUnitId& unit)
{
    const uint32_t flags = unit.matchFlags;
    if ((flags & ~kAll) != 0 || (flags & (kVendor | kProduct)) != (kVendor | kProduct))
        return std::nullopt;
    return UnitMatch(unit.vendorId, unit.productId, CollectionUsage{unit.usagePage, unit.usage}, flags);
}

UnitMatch::UnitMatch(uint16_t vendorId, uint16_t productId, CollectionUsage collection, uint32_t flags)
    : flags_(flags),
      vendorId_(vendorId),
      productId_(productId),
      collection_(collection)
{
}

bool UnitMatch::matchesDevice(uint16_t vendorId, uint16_t productId) const
{
    return vendorId == vendorId_ && productId == productId_;
}

bool UnitMatch::matchesCollection(CollectionUsage collection) const
{
    if ((flags_ & kUsagePage) && collection.usagePage != collection_.usagePage)
        return false;
    if ((flags_ & kUsage) && collection.usage != collection_.usage)
        return false;
    return true;
}

}  // namespace ql::hid
