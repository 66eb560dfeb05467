// Feeds arbitrary text as a skin's ini file (Main.ini and the dialogs'):
// every key a line of it names is read as a control's place from the
// sections the windows read, and the pictures it names get their double
// size names. A place read is the unused one or within the coordinate
// limits; a double size name is the name with "@2x" put in once.
#include "core/skin/MainSkin.h"
#include "core/skin/SkinIni.h"
#include "core/skin/SkinPictureName.h"
#include "core/skin/SkinRect.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace trevolin::skin;

namespace {

bool Within(int value, int low)
{
    return value >= low && value <= MaxSkinCoordinate;
}

void CheckRect(const SkinIni& ini, std::string_view section, std::string_view key)
{
    const SkinRectReading reading = ini.Rect(section, key);
    if (reading.status != SkinRectStatus::Ok) {
        if (reading.rect != UnusedSkinRect)
            __builtin_trap();
        return;
    }
    const SkinRect& r = reading.rect;
    if (!Within(r.x, -MaxSkinCoordinate) || !Within(r.y, -MaxSkinCoordinate) || !Within(r.w, 0) || !Within(r.h, 0))
        __builtin_trap();
}

void CheckPictureName(const std::string& name)
{
    const std::string twice = DoubleSizePictureName(name);
    const size_t at = twice.rfind("@2x");
    if (twice.size() != name.size() + 3 || at == std::string::npos ||
        twice.substr(0, at) + twice.substr(at + 3) != name)
        __builtin_trap();
}

// The keys the main window asks its skin for, once.
const std::vector<std::string>& ImageButtons()
{
    static const std::vector<std::string> keys = [] {
        auto list = MainImageButtonKeys();
        std::sort(list.begin(), list.end());
        return list;
    }();
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SkinIni ini;
    ini.LoadText("skin/Main.ini", std::string(reinterpret_cast<const char*>(data), size));
    CheckPictureName(ini.BackgroundName());
    CheckPictureName(ini.MaskName());
    CheckRect(ini, SkinIni::ButtonInfo, main_skin::LinkKey);

    // The keys the file names, a few of them: each read scans the whole file.
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (int lines = 0; !text.empty() && lines < 8;) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        ++lines;
        const std::string_view key = line.substr(0, equals);
        for (const std::string_view section : {SkinIni::ButtonInfo, SkinIni::ButtonInfo2, SkinIni::Screen})
            CheckRect(ini, section, key);
        // Pictures only for the main window's image buttons (the arrows are
        // image buttons too, with faces of their own).
        if (MainButtonPicturesOf(key) && !std::binary_search(ImageButtons().begin(), ImageButtons().end(), key))
            __builtin_trap();
    }
    return 0;
}
