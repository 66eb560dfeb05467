#pragma once

#include "core/keys/ActionCode.h"
#include "core/keys/KeyAction.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace trevolin::keys {

// The 0-based list position of the macro with this id, or 0 when no macro
// has it (the keyboard names macros by position, key actions by id).
using MacroPositionLookup = std::function<uint32_t(uint16_t macroId)>;

// The code a key-map position sends for a key's action; `defaultCode` is
// the position's code in the default key map. A raw entry sends the code it
// keeps. Macro ids are looked up only for entries that play a macro.
ActionCode EncodeKeyAction(const KeyAction& action, ActionCode defaultCode,
                           const MacroPositionLookup& macroPositionOfId);

// The kind and value a code read back from the keyboard stands for, every
// other field zero. Only for codes that differ from the position's default:
// a position that holds its default code is a key at kind Default.
KeyAction DecodeKeyAction(ActionCode code);

// The entry for a code read back from the keyboard, which holds
// `macroCount` macros: the action DecodeKeyAction gives when the program
// can show it and sends it back as the same three bytes, otherwise a raw
// entry that keeps the code (RawAction.h). A macro number past the
// keyboard's list is kept raw: no macro of the program stands for it, and
// sending it as a macro id would make the key play another macro.
KeyAction DecodeKeyMapCode(ActionCode code, size_t macroCount);

}  // namespace trevolin::keys
