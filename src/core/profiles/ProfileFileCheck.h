#pragma once

#include <string>
#include <vector>

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
    // What an accepted file holds that is changed on the way to the keyboard,
    // one English sentence each ("macro 2 ("Copy") has a play count of 0; it
    // is restored as 1").
    std::vector<std::string> notes;
};

// Checks the exchange file at `path`: its header by every rule a profile
// file keeps, and then that the file supplies all the data the header
// declares and that every key's text ends inside the text area, so that
// reading it can never run past what the file holds, and that no macro
// declares more events than a macro holds (such a file is refused as a
// format error: its events would be cut). Shows nothing.
ProfileFileCheck CheckProfileFile(const std::string& path);

}  // namespace trevolin::profiles
