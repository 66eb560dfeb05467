#include "core/profiles/StoreMacroLookups.h"

#include "core/macros/MacroList.h"
#include "core/profiles/StoreMacroList.h"

namespace trevolin::profiles {

keys::MacroPositionLookup MacroPositionLookupOf(ProfileStore& store)
{
    return [&store](uint16_t macroId) {
        const int position = MacroPositionOfId(store, macroId);
        return position > 0 ? static_cast<uint32_t>(position) : 0u;
    };
}

keys::MacroNameLookup MacroNameLookupOf(ProfileStore& store)
{
    return [&store](uint16_t macroId) {
        std::string name = MacroNameOfId(store, macroId);
        return name.empty() ? macros::MissingMacroText(macroId) : name;
    };
}

}  // namespace trevolin::profiles
