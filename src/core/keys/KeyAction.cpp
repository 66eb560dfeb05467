#include "core/keys/KeyAction.h"

#include "core/device/Bytes.h"

namespace trevolin::keys {

using device::GetLe16;
using device::GetLe32;
using device::PutLe16;
using device::PutLe32;

// The offsets stay inside the 16 bytes the span's extent guarantees.
KeyAction ReadKeyAction(std::span<const uint8_t, KeyActionSize> bytes)
{
    KeyAction action;
    action.kind = GetLe16(bytes.data());
    action.extra = GetLe16(bytes.data() + 2);
    action.value = GetLe32(bytes.data() + 4);
    action.selectionFlag = GetLe32(bytes.data() + 8);
    action.reserved = GetLe32(bytes.data() + 12);
    return action;
}

void WriteKeyAction(const KeyAction& action, std::span<uint8_t, KeyActionSize> bytes)
{
    PutLe16(bytes.data(), action.kind);
    PutLe16(bytes.data() + 2, action.extra);
    PutLe32(bytes.data() + 4, action.value);
    PutLe32(bytes.data() + 8, action.selectionFlag);
    PutLe32(bytes.data() + 12, action.reserved);
}

std::optional<KeyAction> TryReadKeyAction(std::span<const uint8_t> bytes)
{
    if (bytes.size() != KeyActionSize)
        return std::nullopt;
    return ReadKeyAction(bytes.first<KeyActionSize>());
}

bool TryWriteKeyAction(const KeyAction& action, std::span<uint8_t> bytes)
{
    if (bytes.size() != KeyActionSize)
        return false;
    WriteKeyAction(action, bytes.first<KeyActionSize>());
    return true;
}

}  // namespace trevolin::keys
