#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>

namespace trevolin::keys {

// The key table of the apply snapshot, as the key-map encoder reads it. The
// snapshot implements it.
class SnapshotKeyTable {
public:
    virtual ~SnapshotKeyTable() = default;

    // The snapshot lock; re-entrant. Taken after the store lock, never
    // before it.
    virtual std::recursive_mutex& SnapshotLock() const = 0;

    // The 16 bytes of entry `entry` (0..511) of layer `layer` (0..3), to be
    // used only while the snapshot lock is held; empty when the snapshot
    // holds no image or the numbers are out of range.
    virtual std::span<const uint8_t> EntryBytes(size_t layer, size_t entry) const = 0;
};

}  // namespace trevolin::keys
