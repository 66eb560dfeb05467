#include "core/lighting/KeyboardLighting.h"

#include "core/device/ConfigBracket.h"
#include "core/device/DeviceReport.h"
#include "core/lighting/LightingResults.h"

#include <algorithm>
#include <array>

namespace trevolin::lighting {

namespace {

constexpr uint8_t ReadLength = device::DeviceReport::DataSize;

bool ValidProfile(int profile)
{
    return profile >= 0 && profile < LightingRecord::ProfileCount;
}

}  // namespace

KeyboardLighting::KeyboardLighting(device::KeyboardCommands& commands) : commands_(commands)
{
}

int KeyboardLighting::CurrentProfile() const
{
    const int profile = commands_.CurrentProfile();
    return ValidProfile(profile) ? profile : -1;
}

void KeyboardLighting::SetCurrentProfile(int profile)
{
    commands_.SetCurrentProfile(profile);
}

int KeyboardLighting::ReadInfo(device::InfoBlock& info)
{
    return commands_.ReadInfo(info.bytes.data());
}

int KeyboardLighting::ReadRecords(LightingRecords& records)
{
    int result = device::ResultOk;
    const device::ConfigBracket bracket(commands_);
    for (int profile = 0; profile < LightingRecord::ProfileCount; ++profile) {
        std::array<uint8_t, device::DeviceReport::DataSize> reply{};
        const int read = commands_.ReadLighting(reply.data(), ReadLength, LightingRecord::Offset(profile, 0));
        KeepFirstFailure(result, read);
        if (read == device::ResultOk) {
            auto& record = records[static_cast<size_t>(profile)];
            std::copy_n(reply.begin(), record.size(), record.begin());
        }
    }
    return result;
}

int KeyboardLighting::WriteFields(int profile, std::initializer_list<FieldWrite> writes)
{
    if (!ValidProfile(profile))
        return ResultRejected;
    int result = device::ResultOk;
    const device::ConfigBracket bracket(commands_);
    for (const auto& write : writes) {
        KeepFirstFailure(result, commands_.WriteLighting(write.bytes.data(), static_cast<uint8_t>(write.bytes.size()),
                                                         LightingRecord::Offset(profile, write.field)));
    }
    return result;
}

int KeyboardLighting::WriteField(int profile, uint8_t field, uint8_t value)
{
    const uint8_t bytes[] = {value};
    return WriteFields(profile, {{field, bytes}});
}

int KeyboardLighting::WriteEffect(int profile, uint8_t effect, std::optional<bool> multicolour)
{
    const uint8_t effectByte[] = {effect};
    if (!multicolour)
        return WriteFields(profile, {{LightingRecord::Effect, effectByte}});
    const uint8_t flag[] = {static_cast<uint8_t>(*multicolour ? 1 : 0)};
    return WriteFields(profile, {{LightingRecord::Effect, effectByte}, {LightingRecord::Multicolour, flag}});
}

int KeyboardLighting::WriteColour(int profile, RgbColor colour)
{
    const uint8_t off[] = {0};
    const uint8_t rgb[] = {colour.red, colour.green, colour.blue};
    return WriteFields(profile, {{LightingRecord::Multicolour, off}, {LightingRecord::Colour, rgb}});
}

int KeyboardLighting::WriteDefaults(int profile)
{
    const auto record = LightingRecord::Encode(LightMode{});
    return WriteFields(profile, {{LightingRecord::Effect, std::span(record.data(), LightingRecord::DefaultsLength)}});
}

int KeyboardLighting::WriteKeyColour(uint8_t position, RgbColor colour)
{
    if (CurrentProfile() < 0 || position >= ColourPage::PositionCount)
        return ResultRejected;
    const uint8_t rgb[] = {colour.red, colour.green, colour.blue};
    const device::ConfigBracket bracket(commands_);
    const int result = commands_.WriteKeyColors(rgb, sizeof rgb, position);
    return result;
}

int KeyboardLighting::WritePage(const ColourPage& page, std::bitset<ColourPage::RunCount>* taken)
{
    if (taken)
        taken->reset();
    if (CurrentProfile() < 0)
        return ResultRejected;
    int result = device::ResultOk;
    const device::ConfigBracket bracket(commands_);
    for (size_t run = 0; run < ColourPage::RunCount; ++run) {
        const auto bytes = page.Run(run);
        const int written = commands_.WriteKeyColors(bytes.data(), static_cast<uint8_t>(bytes.size()),
                                                     static_cast<int>(run * ColourPage::RunPositions));
        KeepFirstFailure(result, written);
        if (taken)
            taken->set(run, written == device::ResultOk);
    }
    return result;
}

int KeyboardLighting::ReadPage(int profile, ColourPage& page)
{
    if (!ValidProfile(profile))
        return ResultRejected;
    int result = device::ResultOk;
    const device::ConfigBracket bracket(commands_);
    for (size_t run = 0; run < ColourPage::RunCount; ++run) {
        std::array<uint8_t, device::DeviceReport::DataSize> reply{};
        const int read = commands_.ReadKeyColors(reply.data(), static_cast<uint8_t>(ColourPage::RunBytes),
                                                 static_cast<int>(run * ColourPage::RunPositions), profile);
        KeepFirstFailure(result, read);
        if (read == device::ResultOk)
            page.StoreRun(run, std::span<const uint8_t, ColourPage::RunBytes>(reply.data(), ColourPage::RunBytes));
    }
    return result;
}

}  // namespace trevolin::lighting
