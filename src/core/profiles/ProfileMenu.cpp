#include "core/profiles/ProfileMenu.h"

#include "core/profiles/ProfileLayout.h"

#include <filesystem>

namespace trevolin::profiles {

std::optional<int> ProfileMenu::ProfileOfCommand(uint32_t command)
{
    if (command < DefaultItemId || command > LastCommandId)
        return std::nullopt;
    return static_cast<int>(command) - static_cast<int>(FirstProfileItemId);
}

ProfileMenu BuildProfileMenu(const app::TextLookup& texts, const UserFolder& folder, int activeProfile)
{
    ProfileMenu menu;
    menu.items.push_back({ProfileMenu::DefaultItemId, texts.Text("DEFAULT_PROFILE_NAME"), false});
    menu.items.push_back({0, {}, true});
    for (int i = 0; i < ProfileCount(); ++i) {
        const std::string name = std::filesystem::path(ProfileFilePath(folder, i)).filename().string();
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
