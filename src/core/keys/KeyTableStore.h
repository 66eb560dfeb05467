#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>

namespace trevolin::keys {

// The key table of the working profile image, as the key buttons reach it.
// The profile store implements it.
class KeyTableStore {
public:
    virtual ~KeyTableStore() = default;

    // The store lock; re-entrant for the thread that holds it.
    virtual std::recursive_mutex& StoreLock() = 0;

    // The 16 bytes of entry `entry` (0..511) of layer `layer` (0..3), to be
    // used only while the store lock is held; empty when the store holds no
    // image or the numbers are out of range.
    virtual std::span<uint8_t> EntryBytes(size_t layer, size_t entry) = 0;
};

}  // namespace trevolin::keys
