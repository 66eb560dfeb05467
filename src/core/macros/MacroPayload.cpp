#include "core/macros/MacroPayload.h"

#include "core/device/Bytes.h"
#include "core/keyboard/KeyCodeTable.h"
#include "core/keys/ActionCode.h"
#include "core/macros/Macro.h"
#include "core/macros/MacroNameCounter.h"

#include <algorithm>
#include <limits>
#include <new>
#include <vector>

namespace trevolin::macros {

using device::GetLe16;
using device::PutLe16;
using keys::ActionCode;

namespace {

constexpr size_t RecordHeaderSize = 4;
constexpr size_t EventSize = 4;
constexpr size_t MaxPayloadSize = std::numeric_limits<uint16_t>::max();
constexpr uint16_t DelayMask = 0x0FFF;
constexpr uint16_t PressBit = 0x8000;
constexpr int ClassShift = 12;

// The key an event plays, as the keyboard's three-byte action code, chosen
// by the key's device code.
ActionCode EventActionCode(uint16_t keyCode)
{
    const uint8_t usage = keyboard::KeyCodeOfScan(keyCode).deviceCode;
    if (usage == 0 || usage == 0xFF)
        return {};
    if (usage >= 0x81 && usage <= 0x83)
        return {ActionCode::ClassSystem, usage, 0};
    if (usage >= 0xF1 && usage <= 0xF8) {
        switch (usage) {
        case 0xF1:
            return {ActionCode::ClassMouse, ActionCode::SubMouseButton, 0x01};
        case 0xF2:
            return {ActionCode::ClassMouse, ActionCode::SubMouseButton, 0x02};
        case 0xF3:
            return {ActionCode::ClassMouse, ActionCode::SubMouseButton, 0x04};
        case 0xF4:
            return {ActionCode::ClassMouse, ActionCode::SubMouseWheel, ActionCode::WheelUp};
        case 0xF5:
            return {ActionCode::ClassMouse, ActionCode::SubMouseWheel, ActionCode::WheelDown};
        // 0xF6 to 0xF8 belong to no key: the keyboard gets a code that plays nothing.
        default:
            return {};
        }
    }
    if (const uint8_t bit = keys::ModifierBitOf(keyCode); bit != 0)
        return {ActionCode::ClassKey, ActionCode::SubModifier, bit};
    return {ActionCode::ClassKey, ActionCode::SubUsage, usage};
}

struct ListSizes {
    size_t bare = MacroPayloadHeader::Size;
    size_t names = 0;
};

ListSizes SizesOf(std::span<const Macro> list)
{
    ListSizes sizes;
    sizes.bare += 2 * list.size();
    for (const Macro& m : list) {
        sizes.bare += RecordHeaderSize + EventSize * m.events.size();
        sizes.names += 2 * m.name.size();
    }
    return sizes;
}

size_t RecordCount(std::span<const uint8_t> records)
{
    return records.size() / Macro::Size;
}

std::span<const uint8_t> RecordAt(std::span<const uint8_t> records, size_t position)
{
    return records.subspan(position * Macro::Size, Macro::Size);
}

// The list as records hold it: event counts and names already within the
// record's limits.
bool ReadList(std::span<const uint8_t> records, std::vector<Macro>& list)
{
    try {
        list.clear();
        list.reserve(RecordCount(records));
        for (size_t position = 0; position < RecordCount(records); ++position)
            list.push_back(Macro::Read(RecordAt(records, position)));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void EncodeEvent(const MacroEvent& event, uint8_t* out)
{
    const ActionCode code = EventActionCode(event.keyCode);
    const auto units = static_cast<uint16_t>(std::min<uint32_t>(event.delayMs / 10, DelayMask));
    auto word = static_cast<uint16_t>(units | ((code.actionClass & 7) << ClassShift));
    if (event.action != MacroEvent::Release)
        word = static_cast<uint16_t>(word | PressBit);
    PutLe16(out, word);
    out[2] = code.sub;
    out[3] = code.data;
}

MacroEvent DecodeEvent(const uint8_t* in)
{
    const uint16_t word = GetLe16(in);
    MacroEvent event;
    event.delayMs = static_cast<uint32_t>(word & DelayMask) * 10;
    const ActionCode code{static_cast<uint8_t>((word >> ClassShift) & 7), in[2], in[3]};
    event.keyCode = keys::DecodeActionCode(code);
    event.action = (word & PressBit) != 0 ? MacroEvent::Press : MacroEvent::Release;
    return event;
}

}  // namespace

MacroPayloadHeader MacroPayloadHeader::Read(std::span<const uint8_t> bytes)
{
    MacroPayloadHeader header;
    if (bytes.size() < Size)
        return header;
    header.magic = GetLe16(bytes.data());
    header.totalSize = GetLe16(bytes.data() + 2);
    header.macroCount = GetLe16(bytes.data() + 4);
    header.namesFlag = GetLe16(bytes.data() + 6);
    return header;
}

size_t MacroAreaReadSize(const MacroPayloadHeader& header, uint32_t capacity)
{
    const size_t total = std::max<size_t>(header.totalSize, MacroPayloadHeader::Size);
    return capacity == 0 ? total : std::min<size_t>(total, std::max<size_t>(capacity, MacroPayloadHeader::Size));
}

bool SameEventsOnKeyboard(const Macro& a, const Macro& b)
{
    if (a.events.size() != b.events.size())
        return false;
    for (size_t i = 0; i < a.events.size(); ++i) {
        uint8_t left[EventSize];
        uint8_t right[EventSize];
        EncodeEvent(a.events[i], left);
        EncodeEvent(b.events[i], right);
        if (!std::equal(left, left + EventSize, right))
            return false;
    }
    return true;
}

MacroPayloadSize MacroPayloadSizes(std::span<const uint8_t> records)
{
    // Only the counts matter; the events are not copied.
    MacroPayloadSize sizes;
    sizes.bareSize = MacroPayloadHeader::Size + 2 * RecordCount(records);
    size_t names = 0;
    for (size_t position = 0; position < RecordCount(records); ++position) {
        const auto record = RecordAt(records, position);
        sizes.bareSize += RecordHeaderSize + EventSize * Macro::ReadEventCount(record);
        names += 2 * Macro::ReadName(record).size();
    }
    sizes.fullSize = sizes.bareSize + names;
    return sizes;
}

bool EncodeMacroPayload(std::span<const uint8_t> records, std::span<uint8_t> buffer, bool withNames)
{
    std::vector<Macro> list;
    if (!ReadList(records, list))
        return false;
    const ListSizes sizes = SizesOf(list);
    const size_t needed = sizes.bare + (withNames ? sizes.names : 0);
    if (buffer.size() < needed || buffer.size() > MaxPayloadSize)
        return false;

    std::fill(buffer.begin(), buffer.end(), uint8_t{0});
    uint8_t* out = buffer.data();
    PutLe16(out, MacroPayloadHeader::Magic);
    PutLe16(out + 2, static_cast<uint16_t>(buffer.size()));
    PutLe16(out + 4, static_cast<uint16_t>(list.size()));
    PutLe16(out + 6, withNames ? 1 : 0);

    size_t position = MacroPayloadHeader::Size + 2 * list.size();
    for (size_t i = 0; i < list.size(); ++i) {
        const Macro& m = list[i];
        const size_t nameLength = withNames ? m.name.size() : 0;
        PutLe16(out + MacroPayloadHeader::Size + 2 * i, static_cast<uint16_t>(position));
        PutLe16(out + position, static_cast<uint16_t>(m.events.size()));
        out[position + 2] = m.playCount;
        out[position + 3] = static_cast<uint8_t>(nameLength);
        position += RecordHeaderSize;
        for (const MacroEvent& event : m.events) {
            EncodeEvent(event, out + position);
            position += EventSize;
        }
        for (size_t u = 0; u < nameLength; ++u) {
            PutLe16(out + position, static_cast<uint16_t>(m.name[u]));
            position += 2;
        }
    }
    return true;
}

int DecodeMacroPayload(std::span<const uint8_t> payload, std::span<uint8_t> outRecords, const base::TextLookup& texts)
{
    if (payload.size() < MacroPayloadHeader::Size)
        return -1;
    const MacroPayloadHeader header = MacroPayloadHeader::Read(payload);
    if (!header.HoldsMacros())
        return 0;
    const size_t total = header.totalSize;
    const size_t tableEnd = MacroPayloadHeader::Size + 2 * size_t{header.macroCount};
    if (total < MacroPayloadHeader::Size || total > payload.size() || header.macroCount > MaxMacroCount ||
        tableEnd > total)
        return -1;
    const auto area = payload.first(total);

    const size_t room = std::min<size_t>(header.macroCount, outRecords.size() / Macro::Size);
    size_t decoded = 0;
    try {
        for (; decoded < room; ++decoded) {
            const size_t offset = GetLe16(area.data() + MacroPayloadHeader::Size + 2 * decoded);
            if (offset < tableEnd || offset + RecordHeaderSize > total)
                break;
            const size_t eventCount = GetLe16(area.data() + offset);
            const size_t nameLength = area[offset + 3];
            const size_t eventsAt = offset + RecordHeaderSize;
            const size_t nameAt = eventsAt + EventSize * eventCount;
            if (eventCount > Macro::MaxEvents || nameAt + 2 * nameLength > total)
                break;

            Macro macro;
            macro.playCount = area[offset + 2];
            macro.isNew = 0;
            macro.id = static_cast<uint16_t>(decoded + 1);
            macro.events.reserve(eventCount);
            for (size_t e = 0; e < eventCount; ++e)
                macro.events.push_back(DecodeEvent(area.data() + eventsAt + EventSize * e));
            if (nameLength != 0) {
                for (size_t u = 0; u < nameLength; ++u)
                    macro.name.push_back(static_cast<char16_t>(GetLe16(area.data() + nameAt + 2 * u)));
            } else {
                macro.name = DefaultMacroName(texts, static_cast<int>(decoded + 1));
            }
            macro.Write(outRecords.subspan(decoded * Macro::Size, Macro::Size));
        }
    } catch (const std::bad_alloc&) {
        // Whatever was decoded before memory ran out stands.
    }
    return static_cast<int>(decoded);
}

}  // namespace trevolin::macros
