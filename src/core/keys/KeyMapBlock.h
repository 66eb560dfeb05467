#pragma once

#include "core/keys/ActionCode.h"
#include "core/keys/KeyActionCodec.h"
#include "core/keys/KeyTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace trevolin::keys {

// One profile's key map as the keyboard stores it: 126 positions of three
// bytes, then bytes the program does not interpret and always sends as the
// default key map has them.
inline constexpr size_t KeyMapBlockSize = 512;
inline constexpr size_t KeyMapPositionCount = 126;

using KeyMapBlock = std::array<uint8_t, KeyMapBlockSize>;

// The code at a position; 00 00 00 past the last position.
ActionCode ActionCodeAt(std::span<const uint8_t, KeyMapBlockSize> block, size_t position);

// The block for one profile's actions. Which key sits at a position comes
// from the default key map: a position whose default code names no key
// keeps that code, and so does every key at kind Default.
KeyMapBlock EncodeKeyMapBlock(std::span<const KeyAction, KeyBlockEntryCount> actions,
                              std::span<const uint8_t, KeyMapBlockSize> defaultMap,
                              const MacroPositionLookup& macroPositionOfId);

// The actions of one profile from a block read from a keyboard that holds
// `macroCount` macros: every key whose position holds its default code is
// at kind Default, a code the program cannot show is kept raw
// (DecodeKeyMapCode), the G keys' entries carry their markers, positions
// whose default code names no key are ignored.
KeyBlock DecodeKeyMapBlock(std::span<const uint8_t, KeyMapBlockSize> block,
                           std::span<const uint8_t, KeyMapBlockSize> defaultMap, size_t macroCount);

// Whether some position of the default key map belongs to the key with this
// key number. A key without one cannot be given an action: the keyboard has
// nowhere to keep it.
bool KeyHasPosition(std::span<const uint8_t, KeyMapBlockSize> defaultMap, size_t keyNumber);

}  // namespace trevolin::keys
