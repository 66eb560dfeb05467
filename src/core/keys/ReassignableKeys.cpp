#include "core/keys/ReassignableKeys.h"

#include "core/keyboard/KeyByName.h"
#include "core/keyboard/KeyboardLayout.h"

namespace trevolin::keys {

std::string ReassignableKeyNameList(std::span<const uint8_t, KeyMapBlockSize> defaultMap)
{
    std::string list;
    for (const keyboard::NamedKey& named : keyboard::KeyNameTable()) {
        const auto key = keyboard::FindKeyButton(named.controlId);
        // A G key is named once for both banks; its first bank's position decides.
        const auto keyNumber = key ? keyboard::KeyNumberOfKey(*key, false) : std::nullopt;
        if (!keyNumber || !KeyHasPosition(defaultMap, *keyNumber))
            continue;
        if (!list.empty())
            list += ", ";
        list += named.name;
    }
    return list;
}

}  // namespace trevolin::keys
