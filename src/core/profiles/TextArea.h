#pragma once

#include "core/profiles/ProfileImage.h"
#include "core/profiles/TextTable.h"

#include <cstdint>
#include <span>
#include <vector>

namespace trevolin::profiles {

// The text area of a profile image: the texts of the entries of kinds 3 and
// 6, each a NUL-terminated UTF-16LE string, packed without gaps in entry
// order.

// Builds a zero-filled area of `stringBytes` bytes and packs into it every
// slot that has a text, fits what is left of the area and belongs to an
// entry of kind 3 or 6. Each packed entry's value becomes its text's
// offset, so the image's entries always carry the offsets of the last
// packing. Throws std::bad_alloc.
std::vector<uint8_t> PackTextArea(ProfileImage& image, const TextTable& texts, uint32_t stringBytes);

// Fills `texts` (assumed empty) from `area` for every entry of kind 3 or 6.
// False when such an entry's offset (lowest bit cleared) lies outside the
// area or its text has no terminating NUL inside it, or when memory runs
// out; `texts` then holds what was read before.
[[nodiscard]] bool ReadTextArea(const ProfileImage& image, std::span<const uint8_t> area, TextTable& texts);

}  // namespace trevolin::profiles
