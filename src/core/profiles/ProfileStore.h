#pragma once

#include "core/profiles/ProfileImage.h"
#include "core/profiles/TextTable.h"

#include <mutex>

namespace trevolin::profiles {

// The working copy of every profile's key tables, macros and texts that
// the dialogs edit and "Apply" saves and sends. One instance for the
// process, created at start-up with the default image.
//
// Everything here is guarded by Lock(), the store lock, which callers hold
// around their reads and writes; it is re-entrant, and when the snapshot
// lock is needed as well the store lock is always taken first.
class ProfileStore {
public:
    // Starts with the default image and no texts. Throws std::bad_alloc.
    ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    std::recursive_mutex& Lock() { return lock_; }

    ProfileImage& Image() { return image_; }
    const ProfileImage& Image() const { return image_; }
    TextTable& Texts() { return texts_; }
    const TextTable& Texts() const { return texts_; }

    // Used before the content is replaced; each takes the store lock.
    void ReleaseTexts();
    void ReleaseMacros();
    void ReleaseFixedPart();

    // Takes a whole new content at once (the store lock is taken).
    void Replace(ProfileImage&& image, TextTable&& texts);

private:
    std::recursive_mutex lock_;
    ProfileImage image_;
    TextTable texts_;
};

}  // namespace trevolin::profiles
