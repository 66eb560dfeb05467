#include "core/profiles/TextTable.h"

#include <new>

namespace trevolin::profiles {

namespace {

constexpr size_t MaxUnits = 0x7FFFFFFE;

}  // namespace

// The slots are made with the first text: most tables (every profile file
// read makes two) hold none, and a thousand empty strings are not free.
TextTable::TextTable() = default;

std::u16string_view TextTable::Text(size_t slot) const
{
    if (slot >= slots_.size() || slots_[slot].empty())
        return {};
    return std::u16string_view(slots_[slot]).substr(0, slots_[slot].size() - 1);
}

uint32_t TextTable::Length(size_t slot) const
{
    return slot < slots_.size() ? static_cast<uint32_t>(slots_[slot].size() * 2) : 0;
}

bool TextTable::Set(size_t slot, std::u16string_view text)
{
    if (slot >= SlotCount)
        return false;
    Clear(slot);
    const auto kept = text.substr(0, text.find(u'\0'));
    // Slot lengths are 32-bit byte counts in the image.
    if (kept.size() >= MaxUnits)
        return false;
    try {
        slots_.resize(SlotCount);
        std::u16string stored;
        stored.reserve(kept.size() + 1);
        stored.assign(kept);
        stored.push_back(u'\0');
        slots_[slot] = std::move(stored);
    } catch (const std::bad_alloc&) {
        return false;
    }
    total_ += slots_[slot].size() * 2;
    return true;
}

void TextTable::Clear(size_t slot)
{
    if (slot >= slots_.size())
        return;
    total_ -= slots_[slot].size() * 2;
    std::u16string().swap(slots_[slot]);
}

void TextTable::ClearAll()
{
    for (auto& text : slots_)
        std::u16string().swap(text);
    total_ = 0;
}

}  // namespace trevolin::profiles
