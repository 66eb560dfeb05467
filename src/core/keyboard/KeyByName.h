#pragma once

#include "core/keyboard/KeyboardLayout.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace trevolin::keyboard {

// The English name a user types for an on-screen key ("A", "F1", "Esc",
// "NumEnter", "RightShift", "G1", "Fn"), for the command line and anything
// else that takes keys as text. Every key button has exactly one such name;
// a few common other spellings ("Escape", "PgUp", "LShift", ...) are
// accepted too. The language file's key names are for showing, not for
// typing: they change with the language and several keys share one.
struct NamedKey {
    std::string_view name;
    uint16_t controlId;
};

// One entry per key button (the 105 layout keys, G1 to G9, the Fn key), in
// the order of the keyboard's rows, so a list of them reads like the
// keyboard.
std::span<const NamedKey> KeyNameTable();

// The key a name stands for, ignoring case and any spaces, hyphens and
// underscores ("num enter", "Page-Up", "left_shift"); nothing for a name
// that is no key.
std::optional<KeyRef> KeyByName(std::string_view name);

// The key's name as KeyNameTable has it; empty for a reference to no key.
std::string_view NameOfKey(KeyRef key);

// Which keys a list of names holds.
enum class KeyNameSet {
    All,         // every key button
    LayoutKeys,  // the 105 ordinary keys: what a key can send or a macro press
    Assignable,  // the ordinary keys and G1 to G9: what can be given an action
};

// The names of KeyNameTable in `set`, separated by ", ", for messages that
// say which names are valid.
std::string KeyNameListText(KeyNameSet set = KeyNameSet::All);

}  // namespace trevolin::keyboard
