#pragma once

#include "core/base/TextLookup.h"
#include "core/device/DeviceSession.h"
#include "core/profiles/ApplySnapshot.h"
#include "core/profiles/KeyboardWriteReport.h"
#include "core/profiles/ProfileStore.h"

namespace trevolin::profiles {

// Sends the snapshot to the keyboard, with no lock held: the macro area sized against the
// keyboard's capacity, with the macro names when they fit and without them
// when only that makes it fit, and the key-map block of the active profile
// or of all three. Everything is built before anything is sent; then
// command 1, the macro area, the blocks in ascending order and command 2
// go out, the sequence running to its end whatever a write answers. True
// only when the macro area and every block were written. Shows nothing:
// the report says whether the names were dropped, and its problem says in
// the language's words (`texts`) what failed.
[[nodiscard]] bool WriteKeyTables(const ApplySnapshot& snapshot, device::DeviceSession& session, bool allProfiles,
                                  const base::TextLookup& texts, KeyboardWriteReport& report);

}  // namespace trevolin::profiles
