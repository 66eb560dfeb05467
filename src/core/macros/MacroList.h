#pragma once

#include "core/macros/Macro.h"
#include "core/profiles/ProfileStore.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trevolin::macros {

// The macro list lives in the profile store, shared by all three profiles:
// its position is how the keyboard names a macro, its id how key actions
// (kind 4, the id as value) refer to one. Every function here that takes
// the store takes the store lock.

inline constexpr uint16_t KindMacro = 4;
inline constexpr uint16_t KindDefault = 0;

// The position of the first macro with this id; 0 when there is none.
int MacroPositionOfId(profiles::ProfileStore& store, uint16_t id);

// The id of the macro at `position`; 0 when there is none.
uint16_t MacroIdAt(profiles::ProfileStore& store, int position);

// The name (UTF-8) of the first macro with this id; empty when there is none.
std::string MacroNameOfId(profiles::ProfileStore& store, uint16_t id);

// What a key that plays macro `id` shows when no macro has that id (it was
// deleted, or the keyboard's key map names a macro past its list).
std::string MissingMacroText(uint16_t id);

// The position in `list` of the macro a user names by its id or, failing
// that, by its exact name (UTF-8); nothing when none fits.
std::optional<size_t> FindMacroByIdOrName(std::span<const Macro> list, std::string_view reference);

// A copy of the stored list, for a dialog to edit. False when memory runs out.
bool ReadMacroList(profiles::ProfileStore& store, std::vector<Macro>& out);

// A new, empty macro for a dialog's list: `name` (cut to 249 units), play
// count 1, marked new, and the smallest id from 1 to 100 that no macro of
// `list` uses. Nothing when all ids are taken.
std::optional<Macro> NewMacro(std::span<const Macro> list, std::u16string_view name);

// Gives every stored macro whose play count is 0 (which the keyboard cannot
// play: it plays a macro 1 to 255 times) a play count of 1. Returns how many
// changed.
size_t RaiseZeroPlayCounts(profiles::ProfileStore& store);

struct MacroCommit {
    bool committed = false;    // the store holds the new list
    bool keysChanged = false;  // some key was rebound or reset: "Apply" has work to do
};

// Replaces the stored list with a dialog's list and repairs the key tables
// of all profiles: a key that plays macro id 0 is bound to the first macro;
// a key whose macro is gone, or whose id now belongs to a macro created in
// the dialog (the old one was deleted and its id reused), goes back to its
// default action. The list is stored in order with the new-flags cleared.
// Nothing changes when the list is longer than 100 or memory runs out.
MacroCommit CommitMacroList(profiles::ProfileStore& store, std::span<const Macro> records);

}  // namespace trevolin::macros
