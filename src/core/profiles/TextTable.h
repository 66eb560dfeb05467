#pragma once

#include "core/profiles/ProfileLayout.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trevolin::profiles {

// The texts of the key actions that carry one (a program to launch, a text
// block), one slot per key table entry. A slot's length is its size in the
// text area: two bytes per UTF-16 unit plus the terminating NUL; 0 means the
// slot has no text.
class TextTable {
public:
    static constexpr size_t SlotCount = EntryCount;

    TextTable();

    // A slot may hold an empty text, which still takes its terminator.
    bool HasText(size_t slot) const { return Length(slot) != 0; }
    // Without the terminator; empty for a slot without a text or past the table.
    std::u16string_view Text(size_t slot) const;
    uint32_t Length(size_t slot) const;
    // The sum of all slot lengths.
    uint64_t TotalBytes() const { return total_; }

    // visit(slot, text) for every slot that has a text, by ascending slot;
    // the text is without its terminator.
    template <typename Visit>
    void ForEachText(Visit&& visit) const
    {
        for (const SlotText& entry : texts_)
            visit(entry.slot, std::u16string_view(entry.text).substr(0, entry.text.size() - 1));
    }

    // Stores `text` up to its first NUL. False for a slot past the table or
    // when no memory is left; the slot is then empty.
    [[nodiscard]] bool Set(size_t slot, std::u16string_view text);
    void Clear(size_t slot);
    void ClearAll();

private:
    struct SlotText {
        size_t slot;
        // With its terminator, so never empty.
        std::u16string text;
    };
    std::vector<SlotText>::const_iterator Find(size_t slot) const;

    // Only the slots that have a text, by slot: most tables hold a few texts
    // or none, and every profile file read makes two tables.
    std::vector<SlotText> texts_;
    uint64_t total_ = 0;
};

}  // namespace trevolin::profiles
