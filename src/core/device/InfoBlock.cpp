#include "core/device/InfoBlock.h"

#include "core/device/Bytes.h"

#include <algorithm>

namespace trevolin::device {

uint16_t InfoBlock::FirmwareVersion() const
{
    return GetLe16(bytes.data() + 8);
}

std::array<uint8_t, 32> InfoBlock::EffectSlots() const
{
    std::array<uint8_t, 32> slots{};
    std::copy_n(bytes.begin() + 12, slots.size(), slots.begin());
    return slots;
}

std::vector<uint8_t> InfoBlock::SupportedEffects() const
{
    std::vector<uint8_t> effects;
    for (uint8_t slot : EffectSlots())
        if (slot != 0)
            effects.push_back(slot);
    return effects;
}

}  // namespace trevolin::device
