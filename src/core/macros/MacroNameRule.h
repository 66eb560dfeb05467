#pragma once

#include <string>
#include <string_view>

namespace trevolin::macros {

// Why a name cannot be given to a macro, as one English sentence; empty when
// it can. A name has 1 to 249 UTF-16 units, is not only blanks, holds no
// line break, tab or other control character (it is shown on one line and
// written to one line of a macro file), and is not a bare number, which
// every command would read as a macro's id.
std::string MacroNameProblem(std::u16string_view name);

}  // namespace trevolin::macros
