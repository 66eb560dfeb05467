#pragma once

#include "core/profiles/ProfileFileCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace trevolin::profiles {

// How writing the store to the keyboard went. `ok` is the operation's
// boolean: the macro area and every key-map block reached the keyboard.
struct KeyboardWriteReport {
    enum class Stop {
        None,             // the writes were sent (see the results)
        NoSnapshot,       // the store had nothing to send, or memory ran out
        MacrosTooLong,    // even without names the macros exceed the capacity
        NoActiveProfile,  // the keyboard could not say which profile is active
        EncodeFailed,     // a payload or block could not be built
        NoDefaultKeymap,  // the keyboard's default key map could not be read
    };

    bool ok = false;
    Stop stop = Stop::None;  // why nothing was sent, when nothing was

    size_t fullSize = 0;     // macro payload with names
    size_t bareSize = 0;     // and without
    uint32_t capacity = 0;   // the keyboard's macro area
    size_t excessBytes = 0;  // bareSize - capacity when the macros do not fit
    bool namesIncluded = true;
    size_t payloadSize = 0;  // what was sent

    std::vector<int> profilesWritten;  // blocks sent, ascending
    int beginResult = 0;
    int macroAreaResult = 0;
    std::vector<int> blockResults;  // one per entry of profilesWritten
    int endResult = 0;
    // The first failing write's result and what it was, when one failed.
    int deviceResult = 1;
    std::string failedWrite;  // "macro area", "key-map block 2"
    std::string problem;      // one English sentence when !ok, else empty
};

// What a write that failed part-way left on the keyboard, in English:
// "Written: the macro area, the keys of profile 1. Not written (the keyboard
// may hold a part of it): the keys of profiles 2 and 3." (profiles counted
// from 1) Empty when nothing
// was sent or everything was written.
std::string DescribeWrittenParts(const KeyboardWriteReport& report);

// The main window's Apply: the profile file saved and the keyboard written.
// Why nothing was written when the key tables cannot be written faithfully
// without the keyboard's default key map.
inline constexpr const char* NoDefaultKeymapProblem =
    "the keyboard's default key map could not be read, so nothing was written; unplug the keyboard and plug it in "
    "again";

inline constexpr const char* BackupLacksKeysProblem =
    "the keyboard's default key map could not be read, so a backup would lack key assignments; unplug the keyboard "
    "and plug it in again";

struct ApplyReport {
    enum class Refused {
        No,
        NotLoaded,         // the store does not hold the keyboard's tables
        DamagedMacros,     // the user kept the damaged macro area
        ChangedElsewhere,  // another program changed the keyboard after the store was read
    };
    bool ok = false;                // both, and the pending changes were cleared
    Refused refused = Refused::No;  // why nothing was written, when Apply refused
    bool skipped = false;           // nothing was pending: nothing was written (ok is true)
    bool saved = false;
    KeyboardWriteReport write;
};

// A restore from an exchange file.
struct RestoreReport {
    bool ok = false;             // the keyboard holds the file's three profiles
    ProfileFileCheck check;      // the validation
    bool storeReplaced = false;  // the store holds the file's content
    bool saved = false;          // the profile file too
    KeyboardWriteReport write;
    std::string problem;
};

}  // namespace trevolin::profiles
