#include "core/keys/KeyMapBlock.h"

#include "core/keys/KeyNumber.h"

#include <algorithm>
#include <optional>

namespace trevolin::keys {
namespace {

void PutActionCode(KeyMapBlock& block, size_t position, ActionCode code)
{
    block[position * 3] = code.actionClass;
    block[position * 3 + 1] = code.sub;
    block[position * 3 + 2] = code.data;
}

// The entry that controls a position, or nothing when its default code
// names no key (or a key beyond a block).
std::optional<size_t> EntryOfPosition(std::span<const uint8_t, KeyMapBlockSize> defaultMap, size_t position)
{
    const uint16_t keyCode = DecodeActionCode(ActionCodeAt(defaultMap, position));
    if (keyCode == 0)
        return std::nullopt;
    const uint32_t entry = KeyNumberOf(keyCode);
    if (entry >= KeyBlockEntryCount)
        return std::nullopt;
    return entry;
}

}  // namespace

ActionCode ActionCodeAt(std::span<const uint8_t, KeyMapBlockSize> block, size_t position)
{
    if (position >= KeyMapPositionCount)
        return {};
    return {block[position * 3], block[position * 3 + 1], block[position * 3 + 2]};
}

KeyMapBlock EncodeKeyMapBlock(std::span<const KeyAction, KeyBlockEntryCount> actions,
                              std::span<const uint8_t, KeyMapBlockSize> defaultMap,
                              const MacroPositionLookup& macroPositionOfId)
{
    KeyMapBlock block;
    std::copy(defaultMap.begin(), defaultMap.end(), block.begin());
    for (size_t position = 0; position < KeyMapPositionCount; ++position) {
        const std::optional<size_t> entry = EntryOfPosition(defaultMap, position);
        if (!entry)
            continue;
        PutActionCode(block, position,
                      EncodeKeyAction(actions[*entry], ActionCodeAt(defaultMap, position), macroPositionOfId));
    }
    return block;
}

KeyBlock DecodeKeyMapBlock(std::span<const uint8_t, KeyMapBlockSize> block,
                           std::span<const uint8_t, KeyMapBlockSize> defaultMap, size_t macroCount)
{
    KeyBlock actions{};
    PutGKeyMarkers(actions);
    for (size_t position = 0; position < KeyMapPositionCount; ++position) {
        const ActionCode code = ActionCodeAt(block, position);
        if (code == ActionCodeAt(defaultMap, position))
            continue;
        const std::optional<size_t> entry = EntryOfPosition(defaultMap, position);
        if (!entry)
            continue;
        const KeyAction decoded = DecodeKeyMapCode(code, macroCount);
        actions[*entry].kind = decoded.kind;
        actions[*entry].value = decoded.value;
        actions[*entry].reserved = decoded.reserved;
    }
    return actions;
}

bool KeyHasPosition(std::span<const uint8_t, KeyMapBlockSize> defaultMap, size_t keyNumber)
{
    for (size_t position = 0; position < KeyMapPositionCount; ++position) {
        if (EntryOfPosition(defaultMap, position) == keyNumber)
            return true;
    }
    return false;
}

}  // namespace trevolin::keys
