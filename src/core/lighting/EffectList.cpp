#include "core/lighting/EffectList.h"

#include "core/lighting/EffectNames.h"

namespace trevolin::lighting {

void EffectList::Build(std::span<const uint8_t, SlotCount> slots)
{
    effects_.clear();
    for (const uint8_t effect : slots) {
        if (effect != 0)
            effects_.push_back(effect);
    }
}

int EffectList::LookupIndex(int mode) const
{
    for (size_t i = 0; i < effects_.size(); ++i) {
        if (effects_[i] == mode)
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<uint8_t> EffectList::EffectAt(int listIndex) const
{
    if (listIndex < 0 || static_cast<size_t>(listIndex) >= effects_.size())
        return std::nullopt;
    return effects_[static_cast<size_t>(listIndex)];
}

std::vector<std::string> EffectList::Names(const base::TextLookup& texts) const
{
    std::vector<std::string> names;
    names.reserve(effects_.size());
    for (const uint8_t effect : effects_)
        names.push_back(EffectName(texts, effect));
    return names;
}

}  // namespace trevolin::lighting
