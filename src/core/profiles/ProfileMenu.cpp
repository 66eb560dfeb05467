#include "core/profiles/ProfileMenu.h"

#include "core/profiles/ProfileLayout.h"

#include <string>

namespace trevolin::profiles {

std::optional<int> ProfileMenu::ProfileOfCommand(uint32_t command)
{
    if (command < DefaultItemId || command > LastCommandId)
        return std::nullopt;
    return static_cast<int>(command) - static_cast<int>(FirstProfileItemId);
}

ProfileMenu BuildProfileMenu(const base::TextLookup& texts, int activeProfile)
{
    ProfileMenu menu;
    menu.items.push_back({ProfileMenu::DefaultItemId, texts.Text("DEFAULT_PROFILE_NAME"), false});
    menu.items.push_back({0, {}, true});
    // Every profile shares the one profile file, so its name ("$Profile0")
    // tells them apart no more than a placeholder would: the items carry
    // the names the profile buttons show.
    for (int i = 0; i < ProfileCount(); ++i) {
        const std::string name = texts.Text("PROFILE_" + std::to_string(i + 1));
        menu.items.push_back({ProfileMenu::FirstProfileItemId + static_cast<uint32_t>(i), name, false});
    }
    // A profile byte the keyboard cannot have would tick past the menu.
    const bool known = activeProfile >= 0 && activeProfile < ProfileCount();
    menu.tickedPosition = known ? static_cast<size_t>(activeProfile) + 2 : 0;
    menu.profileName = menu.items[menu.tickedPosition].text;
    menu.tooltip = texts.Text("PROFILE_TIP") + menu.profileName;
    return menu;
}

}  // namespace trevolin::profiles
