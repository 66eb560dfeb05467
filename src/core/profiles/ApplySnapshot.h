#pragma once

#include "core/profiles/ProfileImage.h"
#include "core/profiles/ProfileStore.h"

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace trevolin::profiles {

// A frozen copy of the store taken for one write to the keyboard, so that
// the key-map and macro encoders see one consistent state: the fixed part
// with a rebuilt header, the macro records and the packed text area.
// Guarded by its own re-entrant lock, the snapshot lock, always taken after
// the store lock.
class ApplySnapshot {
public:
    ApplySnapshot() = default;
    ApplySnapshot(const ApplySnapshot&) = delete;
    ApplySnapshot& operator=(const ApplySnapshot&) = delete;

    std::recursive_mutex& Lock() { return lock_; }

    const ProfileImage& Image() const { return image_; }
    std::span<const uint8_t> TextArea() const { return textArea_; }

    // Frees the copy (the snapshot lock is taken).
    void Release();

private:
    friend bool MakeSnapshot(ProfileStore& store, ApplySnapshot& snapshot);

    std::recursive_mutex lock_;
    ProfileImage image_;
    std::vector<uint8_t> textArea_;
};

// Fills the snapshot from the store; the caller holds the store lock. On
// true the snapshot lock stays taken (once more) for the caller, who
// releases it when the keyboard write is done. Packing the texts writes
// their offsets into the store's entries. False when there is no fixed part
// to copy or memory runs out; the snapshot lock is then not held.
[[nodiscard]] bool MakeSnapshot(ProfileStore& store, ApplySnapshot& snapshot);

}  // namespace trevolin::profiles
