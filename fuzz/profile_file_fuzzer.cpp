// Feeds arbitrary bytes to the profile file reader. Anything it accepts must
// write back into a file that it reads again to the same texts and macros.
#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileImage.h"
#include "core/profiles/ProfileStore.h"
#include "core/profiles/TextTable.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

using namespace trevolin::profiles;

namespace {

// The check's own comparisons are no paths to explore: without coverage
// they cost a fraction.
#if defined(__clang__)
__attribute__((no_sanitize("coverage")))
#endif
bool SameTexts(const TextTable& a, const TextTable& b)
{
    for (size_t slot = 0; slot < TextTable::SlotCount; ++slot) {
        if (a.Length(slot) != b.Length(slot) || (a.Length(slot) != 0 && a.Text(slot) != b.Text(slot)))
            return false;
    }
    return true;
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

    const uint16_t macroCount = image.MacroCount();
    const std::vector<uint8_t> macros(image.MacroRecords().begin(), image.MacroRecords().end());
    ProfileStore store;
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
    return 0;
}
