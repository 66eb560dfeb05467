#pragma once

#include "core/profiles/ProfileImage.h"
#include "core/profiles/ProfileStore.h"
#include "core/profiles/TextTable.h"

#include <cstdint>
#include <span>
#include <string>

namespace trevolin::profiles {

// Profile files (the profile file in the user folder and the exchange files
// the user backs up to) hold one complete profile image. Files are replaced
// atomically: a failed write leaves the old file as it was, never a
// truncated or empty one.

// The bytes of a profile file for the store's content. Rebuilds the
// store's header (flags 0) and packs the texts, which writes their offsets
// into the store's entries. False when the store has no fixed part, its
// sizes do not fit the header, or memory runs out. The caller holds the
// store lock.
[[nodiscard]] bool SerializeImage(ProfileStore& store, std::string& out);

// Reads a whole profile file held in memory. Refused (false) when the bytes
// are shorter than the fixed part or than the header's counts need, when the
// header's total disagrees with its counts, when it declares more macros
// than a list can hold, or when a text of an entry of kind 3 or 6 starts
// outside the text area or has no terminating NUL inside it. Bytes past the
// declared total are ignored. `image` and `texts` are filled only on true.
[[nodiscard]] bool ParseImage(std::span<const uint8_t> bytes, ProfileImage& image, TextTable& texts);

// Writes the store to `path` as a profile file; with `takeLock` it takes
// the store lock itself, otherwise the caller holds it.
[[nodiscard]] bool WriteImageFile(ProfileStore& store, bool takeLock, const std::string& path);

// Replaces the store's content with a profile file. The caller holds the
// store lock. On false the store is left exactly as it was.
[[nodiscard]] bool ReadImageFile(ProfileStore& store, const std::string& path);

// Writes the default image (no macros, no texts) to `path`.
[[nodiscard]] bool MakeDefaultImage(const std::string& path, uint8_t flags);
// Makes the default image the store's fixed part; the caller holds the
// store lock and has released the old content. False without memory, and
// the store keeps what it had.
[[nodiscard]] bool MakeDefaultImage(ProfileStore& store, uint8_t flags);

}  // namespace trevolin::profiles
