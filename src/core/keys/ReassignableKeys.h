#pragma once

#include "core/keys/KeyMapBlock.h"

#include <span>
#include <string>

namespace trevolin::keys {

// The names (as KeyNameTable has them) of the keys that can be given an
// action on a keyboard with this default key map: the ordinary keys and G
// keys the map has a position for, in keyboard order, separated by ", ".
// A key without a position has nowhere to keep an action.
std::string ReassignableKeyNameList(std::span<const uint8_t, KeyMapBlockSize> defaultMap);

}  // namespace trevolin::keys
