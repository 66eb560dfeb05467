#include "core/keys/MediaFunctions.h"

#include <array>

namespace trevolin::keys {
namespace {

struct MediaFunction {
    uint16_t keyCode;
    uint16_t usage;
};

// In the order the key assignment dialog lists them.
constexpr std::array<MediaFunction, MediaFunctionCount> Functions = {{
    {0x16D, 0x0183},  // media player
    {0x122, 0x00CD},  // play/pause
    {0x124, 0x00B7},  // stop
    {0x110, 0x00B6},  // previous track
    {0x119, 0x00B5},  // next track
    {0x12E, 0x00EA},  // volume down
    {0x130, 0x00E9},  // volume up
    {0x120, 0x00E2},  // mute
    {0x132, 0x0223},  // browser home
    {0x167, 0x0227},  // browser refresh
    {0x168, 0x0226},  // browser stop
    {0x16A, 0x0224},  // browser back
    {0x169, 0x0225},  // browser forward
    {0x166, 0x022A},  // browser favourites
    {0x165, 0x0221},  // browser search
    {0x16B, 0x0194},  // my computer
    {0x121, 0x0192},  // calculator
    {0x16C, 0x018A},  // mail
}};

}  // namespace

uint16_t MediaKeyCode(uint32_t mediaIndex)
{
    return mediaIndex < Functions.size() ? Functions[mediaIndex].keyCode : 0;
}

uint16_t MediaUsage(uint32_t mediaIndex)
{
    return mediaIndex < Functions.size() ? Functions[mediaIndex].usage : 0;
}

std::optional<uint32_t> MediaIndexOfUsage(uint16_t usage)
{
    for (uint32_t index = 0; index < Functions.size(); ++index) {
        if (Functions[index].usage == usage)
            return index;
    }
    return std::nullopt;
}

}  // namespace trevolin::keys
