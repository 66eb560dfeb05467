#pragma once

#include "core/base/TextLookup.h"
#include "core/device/DeviceSession.h"
#include "core/profiles/KeyboardReadReport.h"

#include <string>

namespace trevolin::profiles {

// The bytes of a profile image of what the keyboard holds: its three
// key-map blocks as layers 0 to 2 (layer 3 zero), its macro area as macro
// records, no texts (the keyboard keeps none). Nothing the keyboard sends
// is trusted: a macro area whose content is impossible, or whose header
// declares more than the keyboard's area holds, gives the macros decoded
// before the damage (report.macroAreaDamaged). False (with the report saying why) when the
// keyboard cannot say its active profile, a read fails or memory runs out;
// `bytes` is then unchanged.
[[nodiscard]] bool ReadKeyboardImage(device::DeviceSession& session, const base::TextLookup& texts, std::string& bytes,
                                     KeyboardReadReport& report);

}  // namespace trevolin::profiles
