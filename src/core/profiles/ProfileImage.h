#pragma once

#include "core/profiles/ProfileLayout.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace trevolin::profiles {

// The key tables and macros of all three profiles, as the profile file holds
// them: the fixed part (header, descriptor, 2048 key action records) and
// the macro records. Texts live apart in a TextTable and are packed behind
// the macro records only when the image is written.
//
// The fixed part may be absent (released before a new image comes in);
// every accessor then reads zero, writes nothing and returns empty spans.
class ProfileImage {
public:
    ProfileImage() = default;

    // The default image: a header for no macros and no texts, the
    // descriptor, and all entries zero except the G-key markers of layer 0.
    // Throws std::bad_alloc.
    static std::vector<uint8_t> DefaultFixedPart(uint8_t flags);

    bool HasFixedPart() const { return fixedPart_.size() == FixedPartSize; }
    std::span<uint8_t> FixedPart() { return fixedPart_; }
    std::span<const uint8_t> FixedPart() const { return fixedPart_; }
    // False (and nothing changes) unless `bytes` is exactly a fixed part.
    [[nodiscard]] bool SetFixedPart(std::vector<uint8_t> bytes);
    void ReleaseFixedPart();

    // Slot S is entry S % 512 of layer S / 512.
    static constexpr size_t SlotOf(size_t layer, size_t index) { return layer * EntriesPerLayer + index; }

    // The 16 bytes of a key action record, or an empty span for a slot past
    // the table (or an index past its layer) or without a fixed part.
    std::span<uint8_t> Entry(size_t slot);
    std::span<const uint8_t> Entry(size_t slot) const;
    std::span<uint8_t> Entry(size_t layer, size_t index);
    std::span<const uint8_t> Entry(size_t layer, size_t index) const;

    // The u16 kind at offset 0 of an entry.
    uint16_t EntryKind(size_t slot) const;
    void SetEntryKind(size_t slot, uint16_t kind);
    // The u32 at offset 4: the macro id for kind 4, the text offset for
    // kinds 3 and 6.
    uint32_t EntryValue(size_t slot) const;
    void SetEntryValue(size_t slot, uint32_t value);

    uint16_t MacroCount() const { return macroCount_; }
    // All records back to back, MacroCount() x MacroRecordSize bytes.
    std::span<const uint8_t> MacroRecords() const { return macroRecords_; }
    // One record, or an empty span past the list.
    std::span<uint8_t> MacroRecord(size_t position);
    std::span<const uint8_t> MacroRecord(size_t position) const;
    // False (and nothing changes) unless `block` holds exactly `count` records.
    [[nodiscard]] bool SetMacroRecords(std::vector<uint8_t> block, uint16_t count);
    void ReleaseMacros();

private:
    std::vector<uint8_t> fixedPart_;
    std::vector<uint8_t> macroRecords_;
    uint16_t macroCount_ = 0;
};

}  // namespace trevolin::profiles
