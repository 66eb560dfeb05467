#include "core/device/WriteDescription.h"

#include "core/device/KeyboardCommands.h"

namespace trevolin::device {

namespace {

constexpr uint16_t LightingRecordSize = 42;

// People count the profiles from 1, as the window's buttons do.
std::string OfProfile(const char* what, unsigned profile)
{
    return std::string(what) + " of profile " + std::to_string(profile + 1);
}

}  // namespace

std::string DescribeKeyboardChange(uint8_t command, uint16_t offset)
{
    using C = KeyboardCommands;
    switch (command) {
    case C::CmdWriteInfo:
        return "the active profile";
    case C::CmdWriteLighting:
        return OfProfile("the lighting", offset / LightingRecordSize);
    case C::CmdWriteKeymap:
        return OfProfile("the key map", static_cast<unsigned>(offset / C::BlockSize));
    case C::CmdWriteMacros:
        return "the macro area";
    case C::CmdWriteKeyColors:
        return OfProfile("the key colours", static_cast<unsigned>(offset / C::BlockSize));
    case C::CmdBootMode:
        return "boot mode (firmware update)";
    }
    return {};
}

}  // namespace trevolin::device
