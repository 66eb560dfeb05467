// Feeds arbitrary text as a skin's ini file (Main.ini and the dialogs'):
// every value is parsed as a control's place, the first place of a window's
// section is read through the ini, and the pictures it names get their
// double size names. A place is the unused one or within the coordinate
// limits; a double size name is the name with "@2x" put in once.
#include "core/skin/MainSkin.h"
#include "core/skin/SkinIni.h"
#include "core/skin/SkinPictureName.h"
#include "core/skin/SkinRect.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace trevolin::skin;

namespace {

bool Within(int value, int low)
{
    return value >= low && value <= MaxSkinCoordinate;
}

void CheckReading(const SkinRectReading& reading)
{
    if (reading.status != SkinRectStatus::Ok) {
        if (reading.rect != UnusedSkinRect)
            __builtin_trap();
        return;
    }
    const SkinRect& r = reading.rect;
    if (!Within(r.x, -MaxSkinCoordinate) || !Within(r.y, -MaxSkinCoordinate) || !Within(r.w, 0) || !Within(r.h, 0))
        __builtin_trap();
}

// The name with one "@2x" put in, wherever that is.
void CheckPictureName(const std::string& name)
{
    const std::string twice = DoubleSizePictureName(name);
    if (twice.size() != name.size() + 3)
        __builtin_trap();
    for (size_t at = twice.find("@2x"); at != std::string::npos; at = twice.find("@2x", at + 1)) {
        if (twice.compare(0, at, name, 0, at) == 0 && twice.compare(at + 3, std::string::npos, name, at) == 0)
            return;
    }
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

    // Every place the file gives is parsed; each read through the ini scans
    // the whole file, so only the first key of a window's section is read
    // that way, and only the first keys are looked up as buttons.
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string_view section;
    bool readThroughIni = false;
    for (int keys = 0; !text.empty();) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.starts_with('[') && line.find(']') != std::string_view::npos)
            section = line.substr(1, line.find(']') - 1);
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, equals);
        CheckReading(ParseSkinRect(line.substr(equals + 1)));
        if (!readThroughIni && (section == SkinIni::ButtonInfo || section == SkinIni::ButtonInfo2)) {
            CheckReading(ini.Rect(section, key));
            readThroughIni = true;
        }
        // Pictures only for the main window's image buttons (the arrows are
        // image buttons too, with faces of their own).
        if (keys++ < 8 && MainButtonPicturesOf(key) &&
            !std::binary_search(ImageButtons().begin(), ImageButtons().end(), key))
            __builtin_trap();
    }
    return 0;
}
