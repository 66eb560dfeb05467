#pragma once

#include "core/profiles/ProfileMenu.h"

#include <functional>

namespace trevolin::profiles {

// The windows around a profile switch, as the desktop program provides them.
// An empty function stands for a window that is not there (the command
// line has none of them).
struct ProfileSwitchHooks {
    std::function<bool()> keyDialogOpen;    // the key assignment dialog
    std::function<bool()> managerOpen;      // the profile manager dialog
    std::function<bool()> managerModified;  // its Apply button is enabled
    // Ticks the manager's row `index` and clears its modified flag.
    std::function<void(int index)> tickManagerRow;
    // The main window's Apply command, run to its end before the switch goes
    // on; empty: KeyboardProfiles::ApplyChanges.
    std::function<void()> applyCommand;
    // The menu and the profile-name button, rebuilt after every switch.
    std::function<void(const ProfileMenu& menu)> showProfileMenu;
};

}  // namespace trevolin::profiles
