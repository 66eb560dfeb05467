#include "core/profiles/ProfileImage.h"

#include "core/device/Bytes.h"
#include "core/profiles/ImageDescriptor.h"
#include "core/profiles/ProfileHeader.h"

namespace trevolin::profiles {

namespace {

// The G keys of bank 0 (entries 256 to 264) and bank 1 (265 to 273) carry
// these markers in the second u16 of their records.
constexpr size_t FirstGKeyEntry = 256;
constexpr size_t GKeysPerBank = 9;
constexpr uint16_t BankMarkers[2] = {0x0301, 0x1301};

}  // namespace

std::vector<uint8_t> ProfileImage::DefaultFixedPart(uint8_t flags)
{
    std::vector<uint8_t> bytes(FixedPartSize, 0);
    BuildHeader(bytes, 0, 0, flags);
    ImageDescriptor::Write(std::span(bytes).subspan(DescriptorOffset, DescriptorSize));
    for (size_t bank = 0; bank < 2; ++bank) {
        for (size_t g = 0; g < GKeysPerBank; ++g) {
            const size_t entry = FirstGKeyEntry + bank * GKeysPerBank + g;
            device::PutLe16(bytes.data() + EntriesOffset + entry * EntrySize + 2,
                            static_cast<uint16_t>(BankMarkers[bank] + g));
        }
    }
    return bytes;
}

bool ProfileImage::SetFixedPart(std::vector<uint8_t> bytes)
{
    if (bytes.size() != FixedPartSize)
        return false;
    fixedPart_ = std::move(bytes);
    return true;
}

void ProfileImage::ReleaseFixedPart()
{
    std::vector<uint8_t>().swap(fixedPart_);
}

std::span<uint8_t> ProfileImage::Entry(size_t slot)
{
    if (slot >= EntryCount || !HasFixedPart())
        return {};
    return std::span(fixedPart_).subspan(EntriesOffset + slot * EntrySize, EntrySize);
}

std::span<const uint8_t> ProfileImage::Entry(size_t slot) const
{
    if (slot >= EntryCount || !HasFixedPart())
        return {};
    return std::span(fixedPart_).subspan(EntriesOffset + slot * EntrySize, EntrySize);
}

std::span<uint8_t> ProfileImage::Entry(size_t layer, size_t index)
{
    if (layer >= LayerCount || index >= EntriesPerLayer)
        return {};
    return Entry(SlotOf(layer, index));
}

std::span<const uint8_t> ProfileImage::Entry(size_t layer, size_t index) const
{
    if (layer >= LayerCount || index >= EntriesPerLayer)
        return {};
    return Entry(SlotOf(layer, index));
}

uint16_t ProfileImage::EntryKind(size_t slot) const
{
    const auto entry = Entry(slot);
    return entry.empty() ? 0 : device::GetLe16(entry.data() + EntryKindOffset);
}

void ProfileImage::SetEntryKind(size_t slot, uint16_t kind)
{
    const auto entry = Entry(slot);
    if (!entry.empty())
        device::PutLe16(entry.data() + EntryKindOffset, kind);
}

uint32_t ProfileImage::EntryValue(size_t slot) const
{
    const auto entry = Entry(slot);
    return entry.empty() ? 0 : device::GetLe32(entry.data() + EntryValueOffset);
}

void ProfileImage::SetEntryValue(size_t slot, uint32_t value)
{
    const auto entry = Entry(slot);
    if (!entry.empty())
        device::PutLe32(entry.data() + EntryValueOffset, value);
}

std::span<uint8_t> ProfileImage::MacroRecord(size_t position)
{
    if (position >= macroCount_)
        return {};
    return std::span(macroRecords_).subspan(position * MacroRecordSize, MacroRecordSize);
}

std::span<const uint8_t> ProfileImage::MacroRecord(size_t position) const
{
    if (position >= macroCount_)
        return {};
    return std::span(macroRecords_).subspan(position * MacroRecordSize, MacroRecordSize);
}

bool ProfileImage::SetMacroRecords(std::vector<uint8_t> block, uint16_t count)
{
    if (block.size() != size_t{count} * MacroRecordSize)
        return false;
    macroRecords_ = std::move(block);
    macroCount_ = count;
    return true;
}

void ProfileImage::ReleaseMacros()
{
    std::vector<uint8_t>().swap(macroRecords_);
    macroCount_ = 0;
}

}  // namespace trevolin::profiles
