#pragma once

#include <cstdint>

namespace ql::hid {

// The usage page and usage that name a top-level collection.
struct CollectionUsage {
    uint16_t usagePage = 0;
    uint16_t usage = 0;

    friend bool operator==(const CollectionUsage&, const CollectionUsage&) = default;
};

inline constexpr CollectionUsage kConsumerControl{0x000C, 0x0001};

}  // namespace ql::hid
