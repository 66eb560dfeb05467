#pragma once

namespace trevolin::cli {

// Exit codes of trevolinctl, documented in its --help and the README.
enum ExitCode : int {
    ExitOk = 0,
    ExitKeyboardError = 1,    // the keyboard refused or did not answer
    ExitUsage = 2,            // bad arguments
    ExitNoKeyboard = 3,       // no keyboard attached
    ExitPermission = 4,       // a keyboard is attached but cannot be opened
    ExitLibrary = 5,          // the HID library is missing or incomplete
    ExitMacrosTooLong = 6,    // the macros do not fit the keyboard's memory
    ExitNotExchangeFile = 7,  // the file is not a profile exchange file
    ExitFileError = 8,        // a file could not be read or written
    ExitKeyboardBusy = 9,     // another Trevolin program kept the keyboard busy
};

}  // namespace trevolin::cli
