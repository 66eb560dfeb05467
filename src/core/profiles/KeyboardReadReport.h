#pragma once

#include <cstdint>
#include <string>

namespace trevolin::profiles {

// How reading the keyboard's tables went (ExportKeyboardToFile and the load
// on arrival). `ok` is the operation's boolean.
struct KeyboardReadReport {
    bool ok = false;
    int activeProfile = -1;   // what the keyboard said, -1 when it could not be asked
    int deviceResult = 1;     // the failing command's result (1 when none failed)
    uint16_t macroCount = 0;  // macros decoded from the keyboard's macro area
    // The macro area was there but its content was impossible; the image
    // then holds the macros decoded before the damage (often none).
    bool macroAreaDamaged = false;
    // The macro area carried the macros' names (it does not when they only
    // fitted without them); false when it holds no macros.
    bool macroNamesStored = false;
    // Macros that took their names from a profile file on this computer
    // because the keyboard kept none (see RecoverMacroNames).
    uint16_t namesRecovered = 0;
    // The keyboard's default key map could not be read, not even once more:
    // the keys were decoded with the built-in map, which knows only some of
    // the keyboard's positions, so the assignments of the others are not
    // in the image. Written back, they would be lost.
    bool defaultKeymapMissing = false;
    bool fileWritten = false;
    std::string problem;  // one English sentence when !ok, else empty
};

// What the load on arrival did to the store and the profile file.
struct LoadReport {
    enum class Source {
        Keyboard,   // the store holds the keyboard's tables
        Default,    // the keyboard could not be read: the default image
        Unchanged,  // not even that could be built: the store kept its content
    };
    Source source = Source::Unchanged;
    KeyboardReadReport read;  // read.fileWritten: the profile file holds them too
    bool pendingCleared = false;
};

}  // namespace trevolin::profiles
