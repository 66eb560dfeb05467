#pragma once

#include "core/profiles/ProfileImage.h"
#include "core/profiles/ProfileStore.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace trevolin::profiles {

// A frozen copy of the store taken for one write to the keyboard, so that
// the key-map and macro encoders see one consistent state while the store
// lock is free again: the fixed part with a rebuilt header, the macro
// records and the packed text area. It belongs to the write that made it;
// later edits of the store do not reach it.
class ApplySnapshot {
public:
    const ProfileImage& Image() const { return image_; }
    std::span<const uint8_t> TextArea() const { return textArea_; }

    // The list position the keyboard knows macro `id` by, as the key-map
    // encoder asks for it: the position of the first record with that id,
    // 0 when there is none.
    uint32_t MacroPosition(uint16_t id) const;

private:
    friend std::optional<ApplySnapshot> MakeSnapshot(ProfileStore& store);

    ProfileImage image_;
    std::vector<uint8_t> textArea_;
};

// Copies the store under its lock, which is released again on return.
// Packing the texts writes their offsets into the store's entries. Nothing
// when there is no fixed part to copy or memory runs out.
[[nodiscard]] std::optional<ApplySnapshot> MakeSnapshot(ProfileStore& store);

}  // namespace trevolin::profiles
