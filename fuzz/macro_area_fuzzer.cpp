// Feeds arbitrary bytes, as if read back from the keyboard, to the macro
// area decoder. What it decodes must stay within a macro's limits and encode
// again into an area that decodes to as many macros.
#include "core/base/TextLookup.h"
#include "core/macros/Macro.h"
#include "core/macros/MacroPayload.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace trevolin;

namespace {

struct FixedTexts : base::TextLookup {
    std::string Text(std::string_view) const override { return "Macro %s%d "; }
    std::string LightText(std::string_view) const override { return {}; }
    std::string ModeText(std::string_view) const override { return {}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FixedTexts texts;
    const std::vector<uint8_t> payload(data, data + size);  // exact size: an overrun is reported
    const auto header = macros::MacroPayloadHeader::Read(payload);
    const size_t room = std::min<size_t>(header.macroCount, macros::MaxMacroCount);
    std::vector<uint8_t> records(room * macros::Macro::Size);
    const int decoded = macros::DecodeMacroPayload(payload, records, texts);
    if (decoded < -1 || decoded > static_cast<int>(room))
        __builtin_trap();
    if (decoded <= 0)
        return 0;

    const auto count = static_cast<size_t>(decoded);
    records.resize(count * macros::Macro::Size);
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
        std::vector<uint8_t> againRecords(count * macros::Macro::Size);
        if (macros::DecodeMacroPayload(again, againRecords, texts) != decoded)
            __builtin_trap();
    }
    return 0;
}
