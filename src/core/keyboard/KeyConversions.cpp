#include "core/keyboard/KeyConversions.h"

#include "core/keyboard/KeyCodeTable.h"

namespace trevolin::keyboard {
namespace {

constexpr uint32_t RightShiftScan = 0x36;

bool IsSystemControlCode(uint32_t code)
{
    return code >= 0x81 && code <= 0x83;
}

bool IsMouseFunctionCode(uint32_t code)
{
    return code >= 0xF1 && code <= 0xF8;
}

uint16_t ScanFromDeviceCode(uint32_t deviceCode)
{
    // Many rows have no device code; 0 must never pick one of them.
    if (deviceCode == 0)
        return 0;
    for (uint32_t index = 0; index < KeyCodeRowCount; ++index) {
        const KeyCode& row = KeyCodeRow(index);
        if (!row.isEmpty() && row.deviceCode == deviceCode)
            return IndexToScan(index);
    }
    return 0;
}

uint32_t DeviceCodeOfConsumerUsage(uint32_t usage)
{
    // The unused slots hold 0, which is no usage at all.
    if (usage == 0)
        return 0;
    for (uint32_t position = 0; position < ConsumerTableSize; ++position) {
        if (ConsumerUsageAt(position) == usage)
            return 0xC0 + position;
    }
    return 0;
}

}  // namespace

uint16_t KeyIdFromScan(uint32_t scan)
{
    return KeyCodeOfScan(scan).keyId;
}

uint16_t ScanFromKeyId(uint32_t keyId)
{
    if (keyId == KeyCode::EmptyKeyId)
        return 0;
    for (uint32_t index = 0; index < KeyCodeRowCount; ++index) {
        if (KeyCodeRow(index).keyId == keyId)
            return IndexToScan(index);
    }
    return 0;
}

uint16_t ScanFromVk(uint32_t vk)
{
    const uint8_t index = VkTableEntry(vk);
    return index == 0 ? 0 : IndexToScan(index);
}

uint16_t KeyCodeOfKeyMessage(uint32_t vk, uint32_t lParam)
{
    const uint32_t make = (lParam >> 16) & 0x1FF;
    if (make == RightShiftScan)
        return static_cast<uint16_t>(make);
    if (vk == NoVk)
        return static_cast<uint16_t>(make);
    if ((make & 0xFF) == 0)
        return ScanFromVk(vk);
    const KeyCode& row = KeyCodeOfScan(make);
    // The generic VK_SHIFT, VK_CONTROL and VK_MENU name the left key's row;
    // comparing only the make code lets the right-hand keys through too.
    if (row.vk == vk || row.alternateVk == vk)
        return static_cast<uint16_t>(make);
    if (VkTableEntry(vk) == (make & 0xFF))
        return static_cast<uint16_t>(make);
    return ScanFromVk(vk);
}

KeyActionPair ActionFromScan(uint32_t scan)
{
    const uint8_t code = KeyCodeOfScan(scan).deviceCode;
    if (code == 0 || code == 0xFF)
        return {KeyActionPair::Nothing, 0};
    if (IsSystemControlCode(code))
        return {KeyActionPair::SystemControl, code};
    if (IsMouseFunctionCode(code))
        return {KeyActionPair::MouseFunction, code};
    return {KeyActionPair::KeyboardKey, code};
}

uint16_t ScanFromAction(uint32_t type, uint32_t code)
{
    uint32_t deviceCode = 0;
    switch (type) {
    case KeyActionPair::KeyboardKey:
        deviceCode = code;
        break;
    case KeyActionPair::SystemControl:
        deviceCode = IsSystemControlCode(code) ? code : 0;
        break;
    case KeyActionPair::ConsumerFunction:
        deviceCode = DeviceCodeOfConsumerUsage(code);
        break;
    default:
        break;
    }
    return ScanFromDeviceCode(deviceCode);
}

bool IsPressOnlyKey(uint32_t scan)
{
    return scan == 0x54 || scan == 0x71 || scan == 0x72 || scan == 0x137;
}

}  // namespace trevolin::keyboard
