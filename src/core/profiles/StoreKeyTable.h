#pragma once

#include "core/keys/KeyTableStore.h"
#include "core/profiles/ProfileStore.h"

namespace trevolin::profiles {

// The working store as the key buttons and key editors reach its table.
class StoreKeyTable final : public keys::KeyTableStore {
public:
    explicit StoreKeyTable(ProfileStore& store) : store_(store) {}

    std::recursive_mutex& StoreLock() override { return store_.Lock(); }
    std::span<uint8_t> EntryBytes(size_t layer, size_t entry) override;

private:
    ProfileStore& store_;
};

}  // namespace trevolin::profiles
