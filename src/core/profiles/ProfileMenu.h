#pragma once

#include "core/base/TextLookup.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trevolin::profiles {

// The profile list menu and the profile-name button, as plain content for
// the desktop program to render.
struct ProfileMenu {
    static constexpr uint32_t DefaultItemId = 9000;
    static constexpr uint32_t FirstProfileItemId = 9001;
    static constexpr uint32_t LastCommandId = 9200;

    struct Item {
        uint32_t id = 0;  // 0 for the separator
        std::string text;
        bool separator = false;
    };

    std::vector<Item> items;
    size_t tickedPosition = 0;
    std::string profileName;  // the ticked item's text: the name button's caption
    std::string tooltip;      // "PROFILE_TIP" followed by that name

    // The index a menu command passes to SelectProfile (9000 gives -1);
    // nothing for a command outside 9000 to 9200.
    static std::optional<int> ProfileOfCommand(uint32_t command);
};

// The menu for a keyboard whose active profile is `activeProfile`: the
// default item, a separator and one item per profile, named as the profile
// buttons are ("PROFILE_1" to "PROFILE_3"). The active profile's item is
// ticked; with no active profile, or one the keyboard cannot have, the
// default item is.
ProfileMenu BuildProfileMenu(const base::TextLookup& texts, int activeProfile);

}  // namespace trevolin::profiles
