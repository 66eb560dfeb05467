#pragma once

#include "core/keys/SnapshotKeyTable.h"
#include "core/profiles/ApplySnapshot.h"

#include <mutex>

namespace trevolin::profiles {

// The apply snapshot as the key-map encoder reads it. The snapshot belongs
// to the one write that reads it, so its lock guards nothing another thread
// could reach; the encoder takes it all the same.
class SnapshotKeyTableView final : public keys::SnapshotKeyTable {
public:
    explicit SnapshotKeyTableView(const ApplySnapshot& snapshot) : snapshot_(snapshot) {}

    std::recursive_mutex& SnapshotLock() const override { return lock_; }
    std::span<const uint8_t> EntryBytes(size_t layer, size_t entry) const override;

private:
    const ApplySnapshot& snapshot_;
    mutable std::recursive_mutex lock_;
};

}  // namespace trevolin::profiles
