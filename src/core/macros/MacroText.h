#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace trevolin::macros {

// Macro names are UTF-16, as the record stores them; the language file and
// the tooltips speak UTF-8.

// At most 249 units, the room of the record's name field; a surrogate pair
// is never split.
std::u16string CutMacroName(std::u16string_view name);

// Malformed input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// "1 event", "2 events": the count and the noun, singular only for 1.
std::string CountedNoun(size_t count, std::string_view singular, std::string_view plural);

// Whether `text` begins with `prefix`, letters compared without regard to
// case (Latin, Greek and Cyrillic).
bool StartsWithCaseless(std::u16string_view text, std::u16string_view prefix);

}  // namespace trevolin::macros
