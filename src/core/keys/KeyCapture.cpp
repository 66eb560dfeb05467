#include "core/keys/KeyCapture.h"

#include "core/keyboard/EvdevKeyTable.h"
#include "core/keyboard/KeyCodeTable.h"
#include "core/keys/MediaFunctions.h"

namespace trevolin::keys {

namespace {

bool IsMediaKey(uint16_t keyCode)
{
    for (uint32_t i = 0; i < MediaFunctionCount; ++i) {
        if (MediaKeyCode(i) == keyCode)
            return true;
    }
    return false;
}

}  // namespace

CaptureVerdict DecideCapture(const SeenKeyEvent& event, bool keyboardSource)
{
    if (event.keyCode == 0 || IsMediaKey(event.keyCode))
        return CaptureVerdict::PassOn;
    const keyboard::KeyCode& row = keyboard::KeyCodeOfScan(event.keyCode);
    if (row.isEmpty() || row.deviceCode == 0 || !keyboardSource || event.autoRepeat)
        return CaptureVerdict::Swallow;
    if (event.press || event.keyCode == PrintScreenKeyCode)
        return CaptureVerdict::Capture;
    return CaptureVerdict::Swallow;
}

uint16_t KeyCodeOfNativeScan(uint32_t nativeScanCode)
{
    return nativeScanCode == 0 ? 0 : keyboard::ScanFromXkbKeycode(nativeScanCode);
}

}  // namespace trevolin::keys
