#include "core/profiles/TextTable.h"

#include <algorithm>
#include <new>

namespace trevolin::profiles {

namespace {

constexpr size_t MaxUnits = 0x7FFFFFFE;

}  // namespace

TextTable::TextTable() = default;

std::vector<TextTable::SlotText>::const_iterator TextTable::Find(size_t slot) const
{
    const auto found = std::lower_bound(texts_.begin(), texts_.end(), slot,
                                        [](const SlotText& entry, size_t wanted) { return entry.slot < wanted; });
    return found != texts_.end() && found->slot == slot ? found : texts_.end();
}

std::u16string_view TextTable::Text(size_t slot) const
{
    const auto found = Find(slot);
    if (found == texts_.end())
        return {};
    return std::u16string_view(found->text).substr(0, found->text.size() - 1);
}

uint32_t TextTable::Length(size_t slot) const
{
    const auto found = Find(slot);
    return found == texts_.end() ? 0 : static_cast<uint32_t>(found->text.size() * 2);
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
        std::u16string stored;
        stored.reserve(kept.size() + 1);
        stored.assign(kept);
        stored.push_back(u'\0');
        // Texts read from an image come in slot order, so this is mostly
        // the end.
        const auto at = std::lower_bound(texts_.begin(), texts_.end(), slot,
                                         [](const SlotText& entry, size_t wanted) { return entry.slot < wanted; });
        texts_.insert(at, SlotText{slot, std::move(stored)});
    } catch (const std::bad_alloc&) {
        return false;
    }
    total_ += (kept.size() + 1) * 2;
    return true;
}

void TextTable::Clear(size_t slot)
{
    const auto found = Find(slot);
    if (found == texts_.end())
        return;
    total_ -= found->text.size() * 2;
    texts_.erase(found);
}

void TextTable::ClearAll()
{
    std::vector<SlotText>().swap(texts_);
    total_ = 0;
}

}  // namespace trevolin::profiles
