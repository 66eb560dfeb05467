#include "core/profiles/TextArea.h"

#include "core/device/Bytes.h"

#include <iterator>
#include <map>
#include <new>
#include <string>
#include <string_view>

namespace trevolin::profiles {

std::vector<uint8_t> PackTextArea(ProfileImage& image, const TextTable& texts, uint32_t stringBytes)
{
    std::vector<uint8_t> area(stringBytes, 0);
    uint64_t offset = 0;
    texts.ForEachText([&](size_t slot, std::u16string_view text) {
        const uint64_t length = (uint64_t{text.size()} + 1) * 2;
        if (offset + length > stringBytes || !KindHasText(image.EntryKind(slot)))
            return;
        // Lengths are even, so every offset is too; the terminator is
        // already zero.
        uint8_t* out = area.data() + offset;
        for (size_t i = 0; i < text.size(); ++i)
            device::PutLe16(out + 2 * i, static_cast<uint16_t>(text[i]));
        image.SetEntryValue(slot, static_cast<uint32_t>(offset));
        offset += length;
    });
    return area;
}

bool ReadTextArea(const ProfileImage& image, std::span<const uint8_t> area, TextTable& texts)
{
    // Without a fixed part there are no entries, so no texts.
    if (!image.HasFixedPart())
        return true;
    // Every image is read this way, so the 2048 records are walked as bytes
    // rather than through the bounds-checked accessors.
    const uint8_t* entry = image.FixedPart().data() + EntriesOffset;
    // Runs already scanned, start -> position of their terminator: entries
    // pointing into the same text are not scanned again, so a long area
    // costs one pass however many entries point into it.
    std::map<size_t, size_t> runs;
    std::u16string text;
    for (size_t slot = 0; slot < TextTable::SlotCount; ++slot, entry += EntrySize) {
        if (!KindHasText(device::GetLe16(entry + EntryKindOffset)))
            continue;
        const size_t start = device::GetLe32(entry + EntryValueOffset) & ~size_t{1};
        if (start >= area.size())
            return false;
        size_t end = start;
        auto known = runs.upper_bound(start);
        if (known != runs.begin() && std::prev(known)->second >= start) {
            end = std::prev(known)->second;
        } else {
            while (end + 2 <= area.size() && device::GetLe16(area.data() + end) != 0)
                end += 2;
            if (end + 2 > area.size())
                return false;
            try {
                runs.emplace(start, end);
            } catch (const std::bad_alloc&) {
                return false;
            }
        }
        // One buffer for all texts: Set copies what it keeps.
        try {
            text.resize((end - start) / 2);
        } catch (const std::bad_alloc&) {
            return false;
        }
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(device::GetLe16(area.data() + start + 2 * i));
        if (!texts.Set(slot, text))
            return false;
    }
    return true;
}

}  // namespace trevolin::profiles
