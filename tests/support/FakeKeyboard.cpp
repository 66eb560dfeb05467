#include "support/FakeKeyboard.h"

#include "core/device/FactoryKeymap.h"
#include "core/device/KeyboardCommands.h"
#include "support/FakeHidLibrary.h"

#include <algorithm>
#include <span>

namespace trevolin::test {

namespace {

using device::DeviceReport;
using device::KeyboardCommands;

// A read may run past the end of its area as long as it starts inside it:
// the keyboard answers the bytes it has and zero-fills the rest (the
// lighting records are read 56 bytes at a time). A write must lie wholly
// inside its area.
void Read(std::span<const uint8_t> area, const DeviceReport& request, DeviceReport& reply)
{
    if (request.Offset() >= area.size() || request.Length() > DeviceReport::DataSize) {
        reply[7] = device::StatusBusy;
        return;
    }
    const size_t available = std::min<size_t>(request.Length(), area.size() - request.Offset());
    std::copy_n(area.begin() + request.Offset(), available, reply.Data());
}

void Write(std::span<uint8_t> area, const DeviceReport& request, DeviceReport& reply)
{
    if (size_t{request.Offset()} + request.Length() > area.size() || request.Length() > DeviceReport::DataSize) {
        reply[7] = device::StatusBusy;
        return;
    }
    std::copy_n(request.Data(), request.Length(), area.begin() + request.Offset());
}

}  // namespace

FakeKeyboard::FakeKeyboard() : defaultKeymap(device::BuiltInFactoryKeymap())
{
    info[8] = 0x07;  // firmware 0x107
    info[9] = 0x01;
    info[10] = 1;  // active profile
    SetMacroUnits(255);
    // Every profile holds the default map, as a new keyboard does.
    for (size_t p = 0; p < ProfileCount; ++p)
        std::copy(defaultKeymap.begin(), defaultKeymap.end(), keymaps.begin() + static_cast<long>(p * KeyMapSize));
}

void FakeKeyboard::SetMacroUnits(uint8_t units)
{
    info[11] = units;
    macroArea.assign(size_t{units} * MacroUnitSize, 0);
}

void FakeKeyboard::SetEffects(std::initializer_list<uint8_t> effects)
{
    std::fill(info.begin() + 12, info.end(), 0);
    std::copy(effects.begin(), effects.end(), info.begin() + 12);
}

std::array<uint8_t, FakeKeyboard::KeyMapSize> FakeKeyboard::KeyMapBlock(size_t profile) const
{
    std::array<uint8_t, KeyMapSize> block{};
    std::copy_n(keymaps.begin() + static_cast<long>(profile * KeyMapSize), KeyMapSize, block.begin());
    return block;
}

void FakeKeyboard::AnswerFor(FakeHidLibrary& library)
{
    library.answer = [this](const DeviceReport& request, DeviceReport& reply) { Answer(request, reply); };
}

void FakeKeyboard::Answer(const DeviceReport& request, DeviceReport& reply)
{
    if (auto it = statusOf.find(request.Command()); it != statusOf.end()) {
        reply[7] = it->second;
        return;
    }
    if (refusedAt.count({request.Command(), request.Offset()}) != 0) {
        reply[7] = device::StatusRefused;
        return;
    }
    switch (request.Command()) {
    case KeyboardCommands::CmdReadInfo:
        Read(info, request, reply);
        break;
    case KeyboardCommands::CmdWriteInfo:
        Write(info, request, reply);
        break;
    case KeyboardCommands::CmdReadLighting:
        Read(lighting, request, reply);
        break;
    case KeyboardCommands::CmdWriteLighting:
        Write(lighting, request, reply);
        break;
    case KeyboardCommands::CmdReadKeymap:
        Read(keymaps, request, reply);
        break;
    case KeyboardCommands::CmdWriteKeymap:
        Write(keymaps, request, reply);
        break;
    case KeyboardCommands::CmdReadMacros:
        Read(macroArea, request, reply);
        break;
    case KeyboardCommands::CmdWriteMacros:
        Write(macroArea, request, reply);
        break;
    case KeyboardCommands::CmdReadDefaultKeymap:
        Read(defaultKeymap, request, reply);
        break;
    case KeyboardCommands::CmdReadKeyColors:
        Read(keyColours, request, reply);
        break;
    case KeyboardCommands::CmdWriteKeyColors:
        Write(keyColours, request, reply);
        break;
    default:
        break;
    }
}

}  // namespace trevolin::test
