#pragma once

#include <string>
#include <vector>

namespace trevolin::app {

// The desktop program's command line. The switches Windows users know,
// "/Kill" and "/Start", are accepted in any letter case and also in the
// usual Linux spelling "--kill" and "--start"; "--simulate" and
// "--hid-library PATH" (or "--hid-library=PATH") choose the keyboard as
// trevolinctl does. Anything else is ignored: a desktop file or a script may
// pass arguments meant for someone else, and they must not stop the program.
struct StartupSwitches {
    enum class Switch { Kill, Start };

    // "/Kill" and "/Start" in the order given, repeats kept, so that the
    // program can act on them one by one.
    std::vector<Switch> order;
    bool simulate = false;
    // "--help" / "-h" and "--version": printed, and nothing else is done
    // (a running instance is not touched).
    bool help = false;
    bool version = false;
    std::string hidLibrary;  // empty: none given
    // Set when a switch the program knows was used wrongly (no library path,
    // or both ways of choosing the keyboard); the program should not start.
    std::string error;

    // `arguments` are those after the program's name.
    static StartupSwitches Parse(const std::vector<std::string>& arguments);
    // What "--help" prints.
    static const char* Usage();
    static StartupSwitches Parse(int argc, const char* const argv[]);

    // "/Kill" anywhere: a running instance is asked to exit, not to open,
    // and this process then ends. Without a running instance it has no
    // effect and the switches after it still count.
    bool Kills() const;
    // "/Start" anywhere: the window stays in the tray when the keyboard is
    // first found. Only a process that goes on running acts on it.
    bool StartsHidden() const;
};

}  // namespace trevolin::app
