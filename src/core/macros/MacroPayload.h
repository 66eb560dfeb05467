#pragma once

#include "core/base/TextLookup.h"
#include "core/macros/Macro.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace trevolin::macros {

// The keyboard's macro area: a 16-byte header (magic 0x55AA, total size,
// macro count, names flag), a table of 16-bit record offsets, then one
// record per macro in list order: event count, play count, name length,
// 4-byte events and, when names are included, the name in UTF-16LE.
struct MacroPayloadHeader {
    static constexpr size_t Size = 16;
    static constexpr uint16_t Magic = 0x55AA;

    uint16_t magic = 0;
    uint16_t totalSize = 0;
    uint16_t macroCount = 0;
    uint16_t namesFlag = 0;

    // An area without the magic holds no macros.
    bool HoldsMacros() const { return magic == Magic; }
    // `bytes` holds at least 16 bytes; fewer read as an area without macros.
    static MacroPayloadHeader Read(std::span<const uint8_t> bytes);
};

// How many bytes of the macro area to read for this header: its total, but
// never more than the keyboard's area holds (`capacity`; 0 when the keyboard
// has not said), since the keyboard refuses a read that starts past its
// area. A damaged header thus still gives the bytes the area has.
size_t MacroAreaReadSize(const MacroPayloadHeader& header, uint32_t capacity);

// A delay is sent in units of 10 ms in 12 bits: at most 40 950 ms.
inline constexpr uint32_t MaxPayloadDelayMs = 0x0FFF * 10;

struct MacroPayloadSize {
    size_t fullSize = 0;  // with the names
    size_t bareSize = 0;  // without them
};

// `records` is a macro list as the profile image stores it: Macro::Size
// bytes per macro, back to back, in list order; bytes that do not make a
// whole record are left out.

// The payload sizes of a macro list.
MacroPayloadSize MacroPayloadSizes(std::span<const uint8_t> records);

// Fills `buffer` with the payload of a macro list, its header giving the
// buffer's size as the total. False, with nothing written, when the buffer
// is smaller than the payload or larger than the 16-bit total can say. A
// delay beyond what the keyboard can hold is sent as the longest one it can.
[[nodiscard]] bool EncodeMacroPayload(std::span<const uint8_t> records, std::span<uint8_t> buffer, bool withNames);

// Whether the keyboard holds the same events for both macros: each event's
// key, press or release, and delay as the payload carries them (a delay in
// units of 10 ms), so that a macro read back matches the one that was sent.
bool SameEventsOnKeyboard(const Macro& a, const Macro& b);

// Turns a macro area read back from the keyboard (the bytes actually read)
// into macro records in `outRecords`, one Macro::Size record each, as many
// as fit. A record gets id position + 1, is not new, and without a stored
// name is named by DefaultMacroName(position + 1).
//
// Nothing from the keyboard is trusted: returns -1 when the header is
// impossible (shorter than 16 bytes, a total beyond the bytes read or below
// the header, more than 100 macros, an offset table past the total); 0 for
// an area without the magic; otherwise the number of records written. A
// record that points into the header or offset table, runs past the total,
// or claims more than 4000 events ends the decoding: the records before it
// are kept, so positions and ids stay what the keyboard meant.
int DecodeMacroPayload(std::span<const uint8_t> payload, std::span<uint8_t> outRecords, const base::TextLookup& texts);

}  // namespace trevolin::macros
