#pragma once

#include "core/keys/KeyAction.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace trevolin::keys {

// Four blocks of 512 entries. Blocks 0 to 2 belong to the keyboard's
// profiles 0 to 2; the fourth is carried in every image and used by none.
inline constexpr size_t KeyTableBlockCount = 4;
inline constexpr size_t KeyTableProfileCount = 3;
inline constexpr size_t KeyBlockEntryCount = 512;
inline constexpr size_t KeyTableEntryCount = KeyTableBlockCount * KeyBlockEntryCount;
inline constexpr size_t KeyBlockBytes = KeyBlockEntryCount * KeyActionSize;
inline constexpr size_t KeyTableBytes = KeyTableEntryCount * KeyActionSize;

// Within a block: ordinary keys use entries 0 to 255, G1 to G9 of bank 0
// entries 256 to 264 and those of bank 1 entries 265 to 273.
inline constexpr size_t GKeyEntryFirst = 256;
inline constexpr size_t GKeyEntryCount = 18;

using KeyBlock = std::array<KeyAction, KeyBlockEntryCount>;

// The marker a G key's entry carries in `extra`: 0x301 to 0x309 for bank 0,
// 0x1301 to 0x1309 for bank 1. 0 for an entry (or key number) that is not a
// G key.
uint16_t GKeyMarker(size_t entry);

void PutGKeyMarkers(KeyBlock& block);

// The key actions of all profiles. In the profile image it is the entry
// area of 32 768 bytes; this is the same table in memory.
class KeyTable {
public:
    // All zero except the G-key markers, which a new table has in block 0
    // only.
    static KeyTable New();

    static KeyTable FromBytes(std::span<const uint8_t, KeyTableBytes> bytes);
    void ToBytes(std::span<uint8_t, KeyTableBytes> bytes) const;

    // nullptr past the fourth block.
    KeyBlock* Block(size_t block);
    const KeyBlock* Block(size_t block) const;

    // Entry `index` = block * 512 + key number; nullptr past the table.
    KeyAction* Entry(size_t index);
    const KeyAction* Entry(size_t index) const;

    bool operator==(const KeyTable&) const = default;

private:
    std::array<KeyBlock, KeyTableBlockCount> blocks_{};
};

}  // namespace trevolin::keys
