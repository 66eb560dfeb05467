#pragma once

#include "core/keys/KeyActionCodec.h"
#include "core/keys/KeyDescription.h"
#include "core/profiles/ProfileStore.h"

namespace trevolin::profiles {

// The store's macro list as the key codecs and key descriptions ask it.
// Both take the store lock on every call (re-entrant, so they work while a
// keyboard write holds it); the store must outlive the functions.

// 0-based list position of the first macro with an id, 0 when none has it.
keys::MacroPositionLookup MacroPositionLookupOf(ProfileStore& store);

// Name (UTF-8) of the first macro with an id; when none has it, a text
// saying so (MissingMacroText), so that a key never shows a bare number.
keys::MacroNameLookup MacroNameLookupOf(ProfileStore& store);

}  // namespace trevolin::profiles
