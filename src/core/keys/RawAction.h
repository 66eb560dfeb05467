#pragma once

#include "core/keys/ActionCode.h"
#include "core/keys/KeyAction.h"

#include <optional>
#include <string>
#include <string_view>

namespace trevolin::keys {

// A code read from the keyboard that the program cannot show as one of its
// actions (a power key, a consumer usage outside the media list, several
// mouse buttons at once, a macro number past the keyboard's list, ...).
// Other software may have put it there; the program keeps it as it stands
// until the user gives that key another action.
//
// Such an entry keeps the kind and value that a reader without this notion
// takes from the code (DecodeKeyAction), so the profile file and the
// exchange file read as before. The code itself lives in the record's last
// four bytes (`reserved`), which every reader carries along unchanged:
// bytes 12, 13 and 14 hold class, sub and data, byte 15 holds RawMarker.
// An entry whose kind or value no longer match its code was changed by a
// program that does not know raw codes, and is taken as that change.
inline constexpr uint8_t RawMarker = 0x52;

// The entry for a code kept as it stands. Only `extra` and `selectionFlag`
// are left for the caller to fill.
KeyAction RawKeyAction(ActionCode code);

// The code a raw entry keeps; nothing for any other entry.
std::optional<ActionCode> RawCodeOf(const KeyAction& action);

// "04-81-00": how the command line writes a code.
std::string RawCodeText(ActionCode code);

// Three hexadecimal bytes separated by '-' ("04-81-00"); nothing otherwise.
std::optional<ActionCode> ParseRawCodeText(std::string_view text);

}  // namespace trevolin::keys
