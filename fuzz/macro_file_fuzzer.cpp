// Feeds arbitrary text to the macro file reader behind `trevolinctl macro
// import`. An accepted file keeps a macro's limits and writes back into a
// file that reads again to the same name, play count and events.
#include "core/macros/MacroFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using trevolin::macros::Macro;
using trevolin::macros::MacroFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const MacroFile::Parsed parsed = MacroFile::Parse(text);
    if (!parsed.macro) {
        if (parsed.error.empty())
            __builtin_trap();
        return 0;
    }
    const Macro& macro = *parsed.macro;
    if (macro.name.empty() || macro.name.size() > Macro::MaxNameLength || macro.events.empty() ||
        macro.events.size() > Macro::MaxEvents || macro.playCount < 1 || macro.id != 0 || macro.isNew != 0)
        __builtin_trap();

    const MacroFile::Formatted written = MacroFile::Format(macro);
    if (written.text.empty())
        __builtin_trap();
    const MacroFile::Parsed again = MacroFile::Parse(written.text);
    if (!again.macro || again.macro->name != macro.name || again.macro->playCount != macro.playCount ||
        again.macro->events != macro.events)
        __builtin_trap();
    return 0;
}
