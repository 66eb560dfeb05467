#pragma once

#include "core/base/TextLookup.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trevolin::keyboard {

// TEXT entry whose value names a key without a name of its own; it may hold
// one integer conversion for the scan value.
inline constexpr std::string_view UnknownKeyTextKey = "UNKNOWN_KEY";

// Texts are held in buffers of this many characters.
inline constexpr size_t TextCapacity = 260;

// The display name of a key, from the language file. A key without a name
// (or with an empty one) is named by the "UNKNOWN_KEY" format. The result
// fits a buffer of `capacity` characters with its terminator: at most
// capacity - 1 characters (code points; a character is never split), and
// empty for a capacity of 0.
std::string KeyNameFromScan(const base::TextLookup& texts, uint32_t scan, size_t capacity = TextCapacity);

// The name of the first row with this key id; empty when no row has it or
// the row has no name.
std::string KeyNameFromKeyId(const base::TextLookup& texts, uint32_t keyId);

// Every TEXT key the key names are read from, each once, in table order,
// followed by "UNKNOWN_KEY". The shipped language file must have them all.
std::vector<std::string_view> KeyNameLanguageKeys();

// Cuts UTF-8 text to at most maxCharacters code points.
std::string CutToCharacters(std::string text, size_t maxCharacters);

}  // namespace trevolin::keyboard
