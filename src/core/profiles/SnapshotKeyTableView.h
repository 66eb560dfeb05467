#pragma once

#include "core/keys/SnapshotKeyTable.h"
#include "core/profiles/ApplySnapshot.h"

namespace trevolin::profiles {

// The apply snapshot as the key-map encoder reads it.
class SnapshotKeyTableView final : public keys::SnapshotKeyTable {
public:
    explicit SnapshotKeyTableView(ApplySnapshot& snapshot) : snapshot_(snapshot) {}

    std::recursive_mutex& SnapshotLock() const override { return snapshot_.Lock(); }
    std::span<const uint8_t> EntryBytes(size_t layer, size_t entry) const override;

private:
    ApplySnapshot& snapshot_;
};

}  // namespace trevolin::profiles
