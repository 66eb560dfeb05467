#include "core/keys/SnapshotKeyMap.h"

#include <mutex>

namespace trevolin::keys {

std::optional<KeyMapBlock> EncodeKeyMapBlock(const SnapshotKeyTable& snapshot, int profile,
                                             const device::DeviceSession& link,
                                             const MacroPositionLookup& macroPositionOfId)
{
    if (profile < 0 || static_cast<size_t>(profile) >= KeyTableProfileCount)
        return std::nullopt;
    const KeyMapBlock defaultMap = link.FactoryKeymap();

    std::lock_guard lock(snapshot.SnapshotLock());
    KeyBlock actions{};
    for (size_t entry = 0; entry < KeyBlockEntryCount; ++entry) {
        const std::optional<KeyAction> action = TryReadKeyAction(snapshot.EntryBytes(static_cast<size_t>(profile), entry));
        if (!action)
            return std::nullopt;
        actions[entry] = *action;
    }
    return EncodeKeyMapBlock(actions, defaultMap, macroPositionOfId);
}

KeyBlock DecodeKeyMapBlock(std::span<const uint8_t, KeyMapBlockSize> block, const device::DeviceSession& link,
                           size_t macroCount)
{
    const KeyMapBlock defaultMap = link.FactoryKeymap();
    return DecodeKeyMapBlock(block, defaultMap, macroCount);
}

}  // namespace trevolin::keys
