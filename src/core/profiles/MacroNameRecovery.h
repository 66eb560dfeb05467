#pragma once

#include "core/profiles/UserFolder.h"

#include <cstdint>
#include <string>

namespace trevolin::profiles {

// A keyboard whose macro area is too small for the names keeps the macros
// without them; read back, they are called "Macro 1", "Macro 2". The profile
// file on this computer still knows the names: each macro of `imageBytes`
// (a profile image read from such a keyboard) takes the name of the profile
// file's macro that has its id or sits at its position (the keyboard
// numbers macros by position) and plays the same events as the keyboard
// holds them. Nothing changes when the file is missing or unreadable.
// Returns how many macros got another name.
uint16_t RecoverMacroNames(std::string& imageBytes, const UserFolder& folder);

}  // namespace trevolin::profiles
