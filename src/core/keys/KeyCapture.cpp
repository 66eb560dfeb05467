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

namespace {

// X keysyms and the evdev code of the key that gives each on a US layout.
struct KeysymKey {
    uint32_t keysym;
    uint16_t evdev;
};

constexpr KeysymKey KeysymKeys[] = {
    {0xff1b, 1},   {0xff08, 14},  {0xff09, 15},  {0xff0d, 28},  {0x0020, 57},  {0xffe1, 42},  {0xffe2, 54},
    {0xffe3, 29},  {0xffe4, 97},  {0xffe9, 56},  {0xffea, 100}, {0xfe03, 100}, {0xffeb, 125}, {0xffec, 126},
    {0xff67, 127}, {0xffe5, 58},  {0xff7f, 69},  {0xff14, 70},  {0xff61, 99},  {0xff13, 119}, {0xff63, 110},
    {0xffff, 111}, {0xff50, 102}, {0xff57, 107}, {0xff55, 104}, {0xff56, 109}, {0xff51, 105}, {0xff52, 103},
    {0xff53, 106}, {0xff54, 108}, {0xff8d, 96},  {0xffab, 78},  {0xffad, 74},  {0xffaa, 55},  {0xffaf, 98},
    {0xffae, 83},  {0xff9f, 83},  {0xff9e, 82},  {0xff9c, 79},  {0xff99, 80},  {0xff9b, 81},  {0xff96, 75},
    {0xff9d, 76},  {0xff98, 77},  {0xff95, 71},  {0xff97, 72},  {0xff9a, 73},
    // Punctuation, unshifted and shifted.
    {0x002d, 12},  {0x005f, 12},  {0x003d, 13},  {0x002b, 13},  {0x005b, 26},  {0x007b, 26},  {0x005d, 27},
    {0x007d, 27},  {0x005c, 43},  {0x007c, 43},  {0x003b, 39},  {0x003a, 39},  {0x0027, 40},  {0x0022, 40},
    {0x0060, 41},  {0x007e, 41},  {0x002c, 51},  {0x003c, 51},  {0x002e, 52},  {0x003e, 52},  {0x002f, 53},
    {0x003f, 53},
    // The digits' shifted symbols, 1 to 0.
    {0x0021, 2},   {0x0040, 3},   {0x0023, 4},   {0x0024, 5},   {0x0025, 6},   {0x005e, 7},   {0x0026, 8},
    {0x002a, 9},   {0x0028, 10},  {0x0029, 11},
};

// Letters in the order of the alphabet, digits 1 to 9 then 0, F1 to F12.
constexpr uint16_t LetterKeys[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                     49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
constexpr uint16_t FunctionKeys[12] = {59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 87, 88};
constexpr uint16_t KeypadDigits[10] = {82, 79, 80, 81, 75, 76, 77, 71, 72, 73};

uint16_t EvdevOfKeysym(uint32_t keysym)
{
    if (keysym >= 'a' && keysym <= 'z')
        return LetterKeys[keysym - 'a'];
    if (keysym >= 'A' && keysym <= 'Z')
        return LetterKeys[keysym - 'A'];
    if (keysym >= '1' && keysym <= '9')
        return static_cast<uint16_t>(2 + (keysym - '1'));
    if (keysym == '0')
        return 11;
    if (keysym >= 0xffbe && keysym <= 0xffc9)
        return FunctionKeys[keysym - 0xffbe];
    if (keysym >= 0xffb0 && keysym <= 0xffb9)
        return KeypadDigits[keysym - 0xffb0];
    for (const KeysymKey& k : KeysymKeys)
        if (k.keysym == keysym)
            return k.evdev;
    return 0;
}

}  // namespace

uint16_t KeyCodeOfKeyEvent(uint32_t nativeScanCode, uint32_t keysym)
{
    if (const uint16_t fromScan = KeyCodeOfNativeScan(nativeScanCode); fromScan != 0)
        return fromScan;
    const uint16_t evdev = EvdevOfKeysym(keysym);
    return evdev == 0 ? 0 : keyboard::ScanFromEvdev(evdev);
}

}  // namespace trevolin::keys
