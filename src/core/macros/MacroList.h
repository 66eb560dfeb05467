#pragma once

#include "core/macros/Macro.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace trevolin::macros {

// A macro list, shared by all three profiles: its position is how the
// keyboard names a macro, its id how key actions (kind 4, the id as value)
// refer to one. The profile store keeps the list; the operations on the
// store are in profiles/StoreMacroList.

// What a key that plays macro `id` shows when no macro has that id (it was
// deleted, or the keyboard's key map names a macro past its list).
std::string MissingMacroText(uint16_t id);

// The position in `list` of the macro a user names by its id or, failing
// that, by its exact name (UTF-8); nothing when none fits.
std::optional<size_t> FindMacroByIdOrName(std::span<const Macro> list, std::string_view reference);

// A new, empty macro for a dialog's list: `name` (cut to 249 units), play
// count 1, marked new, and the smallest id from 1 to 100 that no macro of
// `list` uses. Nothing when all ids are taken.
std::optional<Macro> NewMacro(std::span<const Macro> list, std::u16string_view name);

}  // namespace trevolin::macros
