#include "core/macros/MacroEvent.h"

#include "core/device/Bytes.h"

namespace trevolin::macros {

MacroEvent MacroEvent::Read(std::span<const uint8_t> bytes)
{
    MacroEvent event;
    if (bytes.size() < Size)
        return event;
    event.delayMs = device::GetLe32(bytes.data());
    event.keyCode = device::GetLe16(bytes.data() + 4);
    event.action = device::GetLe16(bytes.data() + 6);
    return event;
}

void MacroEvent::Write(std::span<uint8_t> bytes) const
{
    if (bytes.size() < Size)
        return;
    device::PutLe32(bytes.data(), delayMs);
    device::PutLe16(bytes.data() + 4, keyCode);
    device::PutLe16(bytes.data() + 6, action);
}

}  // namespace trevolin::macros
