#include "core/keyboard/MacroKeyList.h"

#include "core/keyboard/KeyConversions.h"

namespace trevolin::keyboard {

std::optional<uint16_t> MacroKeyId(size_t position)
{
    if (position >= MacroKeyCount)
        return std::nullopt;
    return static_cast<uint16_t>(position);
}

uint16_t MacroKeyScan(size_t position)
{
    const std::optional<uint16_t> keyId = MacroKeyId(position);
    return keyId ? ScanFromKeyId(*keyId) : 0;
}

}  // namespace trevolin::keyboard
