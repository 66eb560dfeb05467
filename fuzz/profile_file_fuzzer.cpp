// Feeds arbitrary bytes to the profile file reader. Anything it accepts must
// write back into a file that it reads again to the same texts and macros.
#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileImage.h"
#include "core/profiles/ProfileLayout.h"
#include "core/profiles/ProfileStore.h"
#include "core/profiles/TextTable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

using namespace trevolin::profiles;

namespace {

// The check's own comparisons are no paths to explore: without coverage
// they cost a fraction.
#if defined(__clang__)
__attribute__((no_sanitize("coverage")))
#endif
bool SameTexts(const TextTable& a, const TextTable& b)
{
    // Every text of `a` is in `b`, and `b` holds no more bytes, so no more
    // texts either: each takes at least its terminator.
    if (a.TotalBytes() != b.TotalBytes())
        return false;
    bool same = true;
    a.ForEachText(
        [&](size_t slot, std::u16string_view text) { same = same && b.HasText(slot) && b.Text(slot) == text; });
    return same;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // libFuzzer and the replay both hand over a buffer of exactly `size`
    // bytes, so reading one byte too far is a heap overflow the sanitizer
    // reports.
    const std::span<const uint8_t> file(data, size);
    ProfileImage image;
    TextTable texts;
    if (!ParseImage(file, image, texts))
        return 0;

    // The macro records read are the file's own bytes behind the fixed part,
    // so the file itself is what the second read is held to.
    const uint16_t macroCount = image.MacroCount();
    const auto macros = file.subspan(FixedPartSize, size_t{macroCount} * MacroRecordSize);
    // One store for every input, so its default fixed part is made once;
    // it gives back this input's image at the end, and so libFuzzer sees as
    // many frees as allocations and does not suspect a leak.
    static ProfileStore store;
    store.Replace(std::move(image), std::move(texts));
    std::string written;
    if (!SerializeImage(store, written))
        __builtin_trap();

    ProfileImage again;
    TextTable againTexts;
    const std::span<const uint8_t> writtenBytes(reinterpret_cast<const uint8_t*>(written.data()), written.size());
    if (!ParseImage(writtenBytes, again, againTexts))
        __builtin_trap();
    if (again.MacroCount() != macroCount ||
        !std::equal(macros.begin(), macros.end(), again.MacroRecords().begin(), again.MacroRecords().end()))
        __builtin_trap();
    if (!SameTexts(againTexts, store.Texts()))
        __builtin_trap();
    store.Replace(ProfileImage(), TextTable());
    return 0;
}
