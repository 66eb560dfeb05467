#pragma once

#include <string>

namespace trevolin::profiles {

// The verdict on an exchange file before it may replace the profiles.
struct ProfileFileCheck {
    // 1 accepted; 0 missing, too small or too large, or rejected;
    // -2 cannot be opened (for reading and writing); -3 out of memory.
    int result = 0;
    // The header broke one of its rules: the user is told the file is not
    // a profile file (besides the import message).
    bool formatError = false;
    // Why the file is not taken, one English clause ("no such file",
    // "the macro count 101 is above 100"); empty when accepted.
    std::string reason;
};

// Checks the exchange file at `path`: its header by every rule a profile
// file keeps, and then that the file supplies all the data the header
// declares and that every key's text ends inside the text area, so that
// reading it can never run past what the file holds. Shows nothing.
ProfileFileCheck CheckProfileFile(const std::string& path);

}  // namespace trevolin::profiles
