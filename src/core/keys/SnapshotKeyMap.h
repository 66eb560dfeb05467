#pragma once

#include "core/keys/KeyMapBlock.h"
#include "core/keys/SnapshotKeyTable.h"

#include <optional>
#include <span>

namespace trevolin::keys {

// The key-map block of `profile` (0 to 2) from the apply snapshot, against
// the factory key map `defaultMap` (the session's: its built-in copy until a
// keyboard's own was read). The whole walk, macro look-ups included, runs
// under the snapshot lock; the macro look-up takes the store lock, which the
// caller already holds. Nothing when the profile is not 0 to 2 or the
// snapshot cannot hand over an entry: no block is better than one built from
// entries that are not there.
std::optional<KeyMapBlock> EncodeKeyMapBlock(const SnapshotKeyTable& snapshot, int profile,
                                             std::span<const uint8_t, KeyMapBlockSize> defaultMap,
                                             const MacroPositionLookup& macroPositionOfId);

}  // namespace trevolin::keys
