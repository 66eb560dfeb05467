#pragma once

#include "CollectionUsage.h"

#include <cstdint>
#include <string>

namespace ql::hid {

// One line of the enumeration: hidapi lists one per collection, and several
// lines may share the path of one hidraw node.
struct DeviceEntry {
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    CollectionUsage collection;
};

}  // namespace ql::hid
