#pragma once

#include "core/macros/Macro.h"
#include "core/profiles/ProfileStore.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace trevolin::profiles {

// The macro list as the profile store holds it: records in list order.
// Every function here takes the store lock.

// The position of the first record with this id in the image's list, if any.
// Takes no lock.
std::optional<size_t> FindMacroPosition(const ProfileImage& image, uint16_t id);

// The position of the first macro with this id; 0 when there is none.
int MacroPositionOfId(ProfileStore& store, uint16_t id);

// The id of the macro at `position`; 0 when there is none.
uint16_t MacroIdAt(ProfileStore& store, int position);

// The name (UTF-8) of the first macro with this id; empty when there is none.
std::string MacroNameOfId(ProfileStore& store, uint16_t id);

// Whether some key of any profile plays macro `id`: what the macro editor
// asks before deleting a stored macro.
bool KeysPlayMacro(ProfileStore& store, uint16_t id);

// A copy of the stored list, for a dialog to edit. False when memory runs out.
[[nodiscard]] bool ReadMacroList(ProfileStore& store, std::vector<macros::Macro>& out);

// Gives every stored macro whose play count is 0 (which the keyboard cannot
// play: it plays a macro 1 to 255 times) a play count of 1. Returns how many
// changed.
size_t RaiseZeroPlayCounts(ProfileStore& store);

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
MacroCommit CommitMacroList(ProfileStore& store, std::span<const macros::Macro> records);

}  // namespace trevolin::profiles
