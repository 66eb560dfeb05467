#include "core/macros/MacroNameRule.h"

#include "core/macros/Macro.h"

#include <algorithm>

namespace trevolin::macros {

namespace {

bool IsBlank(char16_t c)
{
    return c == u' ' || c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) || c == 0x202F || c == 0x205F ||
           c == 0x3000 || c == 0xFEFF;
}

// Line and paragraph separators break a line as a newline does.
bool IsControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

}  // namespace

std::string MacroNameProblem(std::u16string_view name)
{
    if (name.empty() || name.size() > Macro::MaxNameLength)
        return "a macro's name has 1 to " + std::to_string(Macro::MaxNameLength) + " characters";
    if (std::all_of(name.begin(), name.end(), IsBlank))
        return "a macro's name cannot be only blanks";
    if (std::any_of(name.begin(), name.end(), IsControl))
        return "a macro's name cannot hold a line break, a tab or another control character";
    if (std::all_of(name.begin(), name.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
        return "a macro's name cannot be a bare number, which reads as a macro's id";
    return {};
}

}  // namespace trevolin::macros
