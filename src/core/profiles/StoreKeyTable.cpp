#include "core/profiles/StoreKeyTable.h"

namespace trevolin::profiles {

std::span<uint8_t> StoreKeyTable::EntryBytes(size_t layer, size_t entry)
{
    if (layer >= LayerCount)
        return {};
    return store_.Image().Entry(layer, entry);
}

}  // namespace trevolin::profiles
