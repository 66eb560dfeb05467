#include "core/device/KeyboardCommands.h"

#include <cstring>

namespace trevolin::device {

namespace {

constexpr size_t AddressSpace = 0x10000;  // the 16-bit offset field

bool FitsAddressSpace(size_t base, size_t count)
{
    return base <= AddressSpace && count <= AddressSpace - base;
}

}  // namespace

KeyboardCommands::KeyboardCommands(ReportExchange& exchange) : exchange_(exchange)
{
}

void KeyboardCommands::WillChangeKeyboard(uint8_t command, uint16_t offset) const
{
    if (beforeChange_)
        beforeChange_(command, offset);
}

int KeyboardCommands::Simple(uint8_t command)
{
    DeviceReport request(command, 0, 0);
    request.SetChecksum();
    DeviceReport reply;
    return exchange_.Command(request, reply);
}

int KeyboardCommands::ReadInto(uint8_t command, uint8_t length, uint16_t offset, uint8_t* out, size_t copy)
{
    DeviceReport request(command, length, offset);
    request.SetChecksum();
    DeviceReport reply;
    const int result = exchange_.Command(request, reply);
    if (result == ResultOk)
        std::memcpy(out, reply.Data(), copy);
    return result;
}

int KeyboardCommands::WriteFrom(uint8_t command, const uint8_t* data, uint8_t length, uint16_t offset)
{
    if (length > DeviceReport::DataSize)
        return ResultWriteRefused;
    WillChangeKeyboard(command, offset);
    DeviceReport request(command, length, offset);
    if (length > 0)
        std::memcpy(request.Data(), data, length);
    request.SetChecksum();
    DeviceReport reply;
    return exchange_.Command(request, reply);
}

int KeyboardCommands::BeginConfig()
{
    WillChangeKeyboard(CmdBeginConfig);
    return Simple(CmdBeginConfig);
}

int KeyboardCommands::EndConfig()
{
    // The keyboard needs a moment after the last write before it closes the
    // configuration bracket.
    exchange_.Clock().SleepMs(10);
    return Simple(CmdEndConfig);
}

int KeyboardCommands::ReadInfo(uint8_t out44[44])
{
    return ReadInto(CmdReadInfo, 44, 0, out44, 44);
}

int KeyboardCommands::WriteInfo(const uint8_t in44[44])
{
    return WriteFrom(CmdWriteInfo, in44, 44, 0);
}

int KeyboardCommands::ReadLighting(uint8_t out56[56], uint8_t length, uint16_t offset)
{
    return ReadInto(CmdReadLighting, length, offset, out56, DeviceReport::DataSize);
}

int KeyboardCommands::WriteLighting(const uint8_t* data, uint8_t length, uint16_t offset)
{
    return WriteFrom(CmdWriteLighting, data, length, offset);
}

int KeyboardCommands::ReadKeymapBlock(uint8_t out512[512], int block)
{
    if (block < 0 || block >= BlockCount)
        return ResultBadBlock;
    return exchange_.ReadChunked(CmdReadKeymap, static_cast<uint16_t>(block * BlockSize), out512, BlockSize);
}

int KeyboardCommands::WriteKeymapBlock(const uint8_t in512[512], int block)
{
    if (block < 0 || block >= BlockCount)
        return ResultBadBlock;
    WillChangeKeyboard(CmdWriteKeymap, static_cast<uint16_t>(block * BlockSize));
    return exchange_.WriteChunked(CmdWriteKeymap, static_cast<uint16_t>(block * BlockSize), in512, BlockSize);
}

int KeyboardCommands::ReadMacroArea(uint8_t* out, size_t count)
{
    if (!FitsAddressSpace(0, count))
        return ResultBadBlock;
    return exchange_.ReadChunked(CmdReadMacros, 0, out, count);
}

int KeyboardCommands::WriteMacroArea(const uint8_t* in, size_t count)
{
    if (!FitsAddressSpace(0, count))
        return ResultBadBlock;
    WillChangeKeyboard(CmdWriteMacros);
    return exchange_.WriteChunked(CmdWriteMacros, 0, in, count);
}

int KeyboardCommands::Command11()
{
    return Simple(11);
}

int KeyboardCommands::Command12()
{
    exchange_.Clock().SleepMs(10);
    return Simple(12);
}

int KeyboardCommands::Command13()
{
    return Simple(13);
}

int KeyboardCommands::Command14()
{
    return Simple(14);
}

int KeyboardCommands::ReadDefaultKeymap(uint8_t out512[512])
{
    return exchange_.ReadChunked(CmdReadDefaultKeymap, 0, out512, BlockSize);
}

int KeyboardCommands::ReadKeyColors(uint8_t out56[56], uint8_t length, int keyIndex, int profile)
{
    const auto offset = static_cast<uint16_t>(profile * BlockSize + keyIndex * 3);
    return ReadInto(CmdReadKeyColors, length, offset, out56, DeviceReport::DataSize);
}

int KeyboardCommands::WriteKeyColors(const uint8_t* data, uint8_t length, int keyIndex)
{
    const auto offset = static_cast<uint16_t>(CurrentProfile() * BlockSize + keyIndex * 3);
    return WriteFrom(CmdWriteKeyColors, data, length, offset);
}

int KeyboardCommands::EnterBootMode()
{
    // A bare report without checksum: the keyboard's boot loader reads only
    // the command bytes.
    WillChangeKeyboard(CmdBootMode);
    uint8_t report[DeviceReport::Size] = {};
    report[0] = DeviceReport::ReportId;
    report[3] = CmdBootMode;
    report[4] = CmdBootMode;
    return exchange_.PostReport(report, sizeof report);
}

}  // namespace trevolin::device
