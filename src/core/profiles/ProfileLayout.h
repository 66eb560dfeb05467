#pragma once

#include "core/keys/KeyAction.h"

#include <cstddef>
#include <cstdint>

namespace trevolin::profiles {

// The keyboard holds three profiles, 0 to 2; -1 stands for "not known".
inline constexpr int NoProfile = -1;
constexpr int ProfileCount()
{
    return 3;
}

// The profile image: header, descriptor, four layers of 512 key action
// records, the macro records and the text area, in that order.
inline constexpr size_t HeaderSize = 32;
inline constexpr size_t DescriptorOffset = 32;
inline constexpr size_t DescriptorSize = 32;
inline constexpr size_t EntriesOffset = 64;
inline constexpr size_t EntrySize = 16;
inline constexpr size_t LayerCount = 4;
inline constexpr size_t EntriesPerLayer = 512;
inline constexpr size_t EntryCount = LayerCount * EntriesPerLayer;
inline constexpr size_t LayerBytes = EntriesPerLayer * EntrySize;
// Header, descriptor and entries: the part of every image whose size never changes.
inline constexpr size_t FixedPartSize = EntriesOffset + EntryCount * EntrySize;
static_assert(FixedPartSize == 32832);

// A macro record is opaque here; the macro list gives it its meaning.
inline constexpr size_t MacroRecordSize = 0x7F00;
// Ids 1 to 100 name the macros, so no list can hold more.
inline constexpr size_t MaxMacroCount = 100;

// The two fields of a key action record this module reads.
inline constexpr size_t EntryKindOffset = 0;
inline constexpr size_t EntryValueOffset = 4;
// Kinds whose value is the offset of the entry's text in the text area.
constexpr bool KindHasText(uint16_t kind)
{
    return kind == keys::KeyAction::LaunchProgram || kind == keys::KeyAction::TextBlock;
}

}  // namespace trevolin::profiles
