#pragma once

#include <optional>
#include <string_view>

namespace trevolin::base {

// Small pieces of reading text that people write: macro files, page files,
// colours on the command line.

// Editors on other systems start UTF-8 files with it.
inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

// Blanks around a value: spaces, tabs and the carriage return of a line
// ended the Windows way.
bool IsBlank(char c);
std::string_view TrimBlanks(std::string_view text);
std::string_view WithoutByteOrderMark(std::string_view text);

// Decimal digits only (no sign, no blanks, at most nine digits so it never
// overflows), within [min, max].
std::optional<int> ParseWholeNumber(std::string_view text, int min, int max);

}  // namespace trevolin::base
