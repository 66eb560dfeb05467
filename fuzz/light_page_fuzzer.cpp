// Feeds arbitrary text to the colour page reader of `trevolinctl light
// page`. Every entry it accepts names a key with a light; the page it makes
// prints as text that reads back into the same page.
#include "cli/LightPageFile.h"
#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/ColourPage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string_view>

using trevolin::cli::LightPageFile;
using namespace trevolin;

namespace {

// Later lines win, as on the keyboard.
bool Apply(const LightPageFile::Parsed& parsed, lighting::ColourPage& page)
{
    for (const LightPageFile::Entry& entry : parsed.entries) {
        const uint8_t light = keyboard::LightPositionOf(entry.key);
        if (!keyboard::HasLight(light) || !page.Set(light, entry.colour))
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LightPageFile::Parsed parsed = LightPageFile::Parse(text);
    if (!parsed.error.empty())
        return 0;
    lighting::ColourPage page;
    if (!Apply(parsed, page))
        __builtin_trap();

    // Printing and reading back every key is most of the work, and it
    // depends on the page alone: a page already checked is not checked again.
    static std::set<std::array<uint8_t, lighting::ColourPage::Size>> checked;
    if (!checked.insert(page.Bytes()).second)
        return 0;
    if (checked.size() > 100000)
        checked.clear();
    const LightPageFile::Parsed again = LightPageFile::Parse(LightPageFile::Text(page));
    lighting::ColourPage pageAgain;
    if (!again.error.empty() || !Apply(again, pageAgain) || pageAgain != page)
        __builtin_trap();
    return 0;
}
