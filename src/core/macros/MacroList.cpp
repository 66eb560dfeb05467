#include "core/macros/MacroList.h"

#include "core/keys/RawAction.h"
#include "core/macros/MacroText.h"

#include <algorithm>
#include <charconv>

namespace trevolin::macros {

std::string MissingMacroText(uint16_t id)
{
    return "macro " + std::to_string(id) + ", which no longer exists";
}

std::optional<Macro> NewMacro(std::span<const Macro> list, std::u16string_view name)
{
    for (uint16_t id = Macro::MinId; id <= Macro::MaxId; ++id) {
        const bool used = std::any_of(list.begin(), list.end(), [id](const Macro& m) { return m.id == id; });
        if (used)
            continue;
        Macro macro;
        macro.name = CutMacroName(name);
        macro.playCount = 1;
        macro.isNew = 1;
        macro.id = id;
        return macro;
    }
    return std::nullopt;
}

std::optional<size_t> FindMacroByIdOrName(std::span<const Macro> list, std::string_view reference)
{
    uint32_t id = 0;
    const auto [end, ec] = std::from_chars(reference.data(), reference.data() + reference.size(), id);
    if (ec == std::errc() && end == reference.data() + reference.size())
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].id == id)
                return i;
    for (size_t i = 0; i < list.size(); ++i)
        if (Utf16ToUtf8(list[i].name) == reference)
            return i;
    return std::nullopt;
}

}  // namespace trevolin::macros
