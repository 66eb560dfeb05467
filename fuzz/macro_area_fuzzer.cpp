// Feeds arbitrary bytes, as if read back from the keyboard, to the macro
// area decoder. What it decodes must stay within a macro's limits and encode
// again into an area that decodes to as many macros.
#include "core/base/TextLookup.h"
#include "core/macros/Macro.h"
#include "core/macros/MacroPayload.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

using namespace trevolin;

namespace {

struct FixedTexts : base::TextLookup {
    std::string Text(std::string_view) const override { return "Macro %s%d "; }
    std::string LightText(std::string_view) const override { return {}; }
    std::string ModeText(std::string_view) const override { return {}; }
};

// Room for up to 100 records of 32 KiB, made once: allocating and clearing
// 3 MB for every input made the target crawl. Only the first `count`
// records are open to the code under test; the rest is poisoned, so that
// writing or reading past them is still reported as with a buffer of
// exactly that size.
class RecordSpace {
public:
    RecordSpace() { ASAN_POISON_MEMORY_REGION(space_.data(), space_.size()); }

    // Only the bytes between the old and the new end change their state:
    // (un)poisoning all 3 MB for every input cost more than the decoding.
    std::span<uint8_t> Open(size_t count)
    {
        const size_t bytes = count * macros::Macro::Size;
        if (bytes > open_)
            ASAN_UNPOISON_MEMORY_REGION(space_.data() + open_, bytes - open_);
        else
            ASAN_POISON_MEMORY_REGION(space_.data() + bytes, open_ - bytes);
        open_ = bytes;
        return std::span<uint8_t>(space_).first(bytes);
    }

private:
    std::vector<uint8_t> space_ = std::vector<uint8_t>(macros::MaxMacroCount * macros::Macro::Size);
    size_t open_ = 0;
};

// The records the decoder can fill: none for an area it refuses from its
// header alone, else as many as the header counts.
size_t RecordsNeeded(std::span<const uint8_t> payload)
{
    const auto header = macros::MacroPayloadHeader::Read(payload);
    if (payload.size() < macros::MacroPayloadHeader::Size || !header.HoldsMacros() || header.totalSize > payload.size())
        return 0;
    return std::min<size_t>(header.macroCount, macros::MaxMacroCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FixedTexts texts;
    static RecordSpace space;
    static RecordSpace spaceAgain;
    const std::vector<uint8_t> payload(data, data + size);  // exact size: an overrun is reported
    const size_t room = RecordsNeeded(payload);
    std::span<uint8_t> records = space.Open(room);
    const int decoded = macros::DecodeMacroPayload(payload, records, texts);
    if (decoded < -1 || decoded > static_cast<int>(room))
        __builtin_trap();
    if (decoded <= 0)
        return 0;

    const auto count = static_cast<size_t>(decoded);
    records = records.first(count * macros::Macro::Size);
    for (size_t i = 0; i < count; ++i) {
        const auto record = std::span<const uint8_t>(records).subspan(i * macros::Macro::Size, macros::Macro::Size);
        const macros::Macro macro = macros::Macro::Read(record);
        if (macro.id != i + 1 || macro.isNew != 0 || macro.events.size() > macros::Macro::MaxEvents ||
            macro.name.size() > macros::Macro::MaxNameLength)
            __builtin_trap();
    }

    const auto sizes = macros::MacroPayloadSizes(records);
    if (sizes.bareSize > sizes.fullSize)
        __builtin_trap();
    for (const bool withNames : {false, true}) {
        const size_t needed = withNames ? sizes.fullSize : sizes.bareSize;
        if (needed > 0xFFFF)
            continue;
        std::vector<uint8_t> again(needed);
        if (!macros::EncodeMacroPayload(records, again, withNames))
            __builtin_trap();
        const std::span<uint8_t> againRecords = spaceAgain.Open(count);
        if (macros::DecodeMacroPayload(again, againRecords, texts) != decoded)
            __builtin_trap();
    }
    return 0;
}
