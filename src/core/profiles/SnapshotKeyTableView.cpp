#include "core/profiles/SnapshotKeyTableView.h"

namespace trevolin::profiles {

std::span<const uint8_t> SnapshotKeyTableView::EntryBytes(size_t layer, size_t entry) const
{
    if (layer >= LayerCount)
        return {};
    return snapshot_.Image().Entry(layer, entry);
}

}  // namespace trevolin::profiles
