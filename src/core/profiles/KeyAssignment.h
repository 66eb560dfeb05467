#pragma once

#include "core/keys/ActionCode.h"
#include "core/keys/KeyAction.h"
#include "core/profiles/ProfileStore.h"

#include <cstdint>
#include <optional>

namespace trevolin::profiles {

// What the key assignment stores for one key: the kind the user chose and
// its value (key code, macro id, media or function index), and for a macro
// its play count.
struct KeyChoice {
    uint16_t kind = keys::KeyAction::Default;
    uint32_t value = 0;
    uint8_t playCount = 1;
};

// Writes `choice` into the entry of `keyNumber` in `profile`, as the key
// assignment's Apply does: a G key carries its marker (a macro its play
// count instead), a key assigned to itself goes back to its default, a
// text the entry owned is released, and bytes 8 to 15 of the entry keep
// what they held, except that a raw code the entry kept (RawAction.h) is
// dropped. Takes the store lock. Nothing for a profile or key number
// outside the table; otherwise the action now stored.
std::optional<keys::KeyAction> StoreKeyAssignment(ProfileStore& store, int profile, uint16_t keyNumber,
                                                  const KeyChoice& choice);

// The same for a code the keyboard is to hold as it stands (RawAction.h):
// the entry becomes a raw entry with that code, its text is released, a G
// key keeps its marker and bytes 8 to 11 what they held.
std::optional<keys::KeyAction> StoreRawKeyAssignment(ProfileStore& store, int profile, uint16_t keyNumber,
                                                     keys::ActionCode code);

}  // namespace trevolin::profiles
