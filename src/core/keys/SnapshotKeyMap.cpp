#include "core/keys/SnapshotKeyMap.h"

#include <mutex>

namespace trevolin::keys {

std::optional<KeyMapBlock> EncodeKeyMapBlock(const SnapshotKeyTable& snapshot, int profile,
                                             std::span<const uint8_t, KeyMapBlockSize> defaultMap,
                                             const MacroPositionLookup& macroPositionOfId)
{
    if (profile < 0 || static_cast<size_t>(profile) >= KeyTableProfileCount)
        return std::nullopt;

    std::lock_guard lock(snapshot.SnapshotLock());
    KeyBlock actions{};
    for (size_t entry = 0; entry < KeyBlockEntryCount; ++entry) {
        const std::optional<KeyAction> action =
            TryReadKeyAction(snapshot.EntryBytes(static_cast<size_t>(profile), entry));
        if (!action)
            return std::nullopt;
        actions[entry] = *action;
    }
    return EncodeKeyMapBlock(actions, defaultMap, macroPositionOfId);
}

}  // namespace trevolin::keys
