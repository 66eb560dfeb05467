#include "core/macros/Macro.h"

#include "core/device/Bytes.h"
#include "core/macros/MacroText.h"

#include <algorithm>

namespace trevolin::macros {

namespace {

constexpr size_t IsNewOffset = 502;
constexpr size_t IdOffset = 506;

}  // namespace

uint16_t Macro::ReadId(std::span<const uint8_t> record)
{
    return record.size() < Size ? 0 : device::GetLe16(record.data() + IdOffset);
}

std::u16string Macro::ReadName(std::span<const uint8_t> record)
{
    std::u16string name;
    if (record.size() < Size)
        return name;
    for (size_t i = 0; i < NameUnits; ++i) {
        const auto unit = static_cast<char16_t>(device::GetLe16(record.data() + 2 * i));
        if (unit == u'\0')
            break;
        name.push_back(unit);
    }
    return CutMacroName(name);
}

size_t Macro::ReadEventCount(std::span<const uint8_t> record)
{
    if (record.size() < Size)
        return 0;
    return std::min<size_t>(device::GetLe16(record.data() + Macro::EventCountOffset), MaxEvents);
}

Macro Macro::Read(std::span<const uint8_t> record)
{
    Macro macro;
    if (record.size() < Size)
        return macro;
    const uint8_t* p = record.data();
    macro.name = ReadName(record);
    macro.playCount = p[Macro::PlayCountOffset];
    macro.isNew = device::GetLe16(p + IsNewOffset);
    macro.id = device::GetLe16(p + IdOffset);
    const size_t count = ReadEventCount(record);
    macro.events.reserve(count);
    for (size_t i = 0; i < count; ++i)
        macro.events.push_back(MacroEvent::Read(record.subspan(EventsOffset + i * MacroEvent::Size)));
    return macro;
}

void Macro::Write(std::span<uint8_t> record) const
{
    if (record.size() < Size)
        return;
    uint8_t* p = record.data();
    std::fill_n(p, Size, uint8_t{0});
    const std::u16string stored = CutMacroName(name.substr(0, name.find(u'\0')));
    for (size_t i = 0; i < stored.size(); ++i)
        device::PutLe16(p + 2 * i, static_cast<uint16_t>(stored[i]));
    p[Macro::PlayCountOffset] = playCount;
    device::PutLe16(p + IsNewOffset, isNew);
    device::PutLe16(p + IdOffset, id);
    const size_t count = std::min(events.size(), MaxEvents);
    device::PutLe16(p + Macro::EventCountOffset, static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i)
        events[i].Write(record.subspan(EventsOffset + i * MacroEvent::Size));
}

}  // namespace trevolin::macros
