#pragma once

#include "core/device/InfoBlock.h"
#include "core/device/KeyboardCommands.h"
#include "core/lighting/ColourPage.h"
#include "core/lighting/LightingRecord.h"
#include "core/lighting/RgbColor.h"

#include <bitset>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

namespace trevolin::lighting {

// The lighting's traffic with the keyboard. Every change goes out at once
// as command 1, the writes, command 2 (a device::ConfigBracket, whose own
// results are not looked at). Each function returns 1 when every write or
// read in it succeeded, else the first failing command's result.
class KeyboardLighting {
public:
    explicit KeyboardLighting(device::KeyboardCommands& commands);

    // The program's current profile (the one command 17 writes), or -1 when
    // it is not 0 to 2.
    int CurrentProfile() const;
    void SetCurrentProfile(int profile);

    [[nodiscard]] int ReadInfo(device::InfoBlock& info);
    // Reads all three records; a record whose read fails keeps what
    // `records` held for it.
    [[nodiscard]] int ReadRecords(LightingRecords& records);

    // One byte at `field` of profile `profile`'s record.
    [[nodiscard]] int WriteField(int profile, uint8_t field, uint8_t value);
    // The effect number, and the multicolour flag (as 0 or 1) when given.
    [[nodiscard]] int WriteEffect(int profile, uint8_t effect, std::optional<bool> multicolour);
    // Multicolour off, then the colour.
    [[nodiscard]] int WriteColour(int profile, RgbColor colour);
    [[nodiscard]] int WriteDefaults(int profile);

    // One light of the current profile's page.
    [[nodiscard]] int WriteKeyColour(uint8_t position, RgbColor colour);
    // The whole page, to the current profile's page. Every run is sent even
    // after one fails; `taken`, when given, tells which runs the keyboard
    // accepted.
    [[nodiscard]] int WritePage(const ColourPage& page, std::bitset<ColourPage::RunCount>* taken = nullptr);
    // Profile `profile`'s page; a run whose read fails keeps what `page` held.
    [[nodiscard]] int ReadPage(int profile, ColourPage& page);

private:
    struct FieldWrite {
        uint8_t field;
        std::span<const uint8_t> bytes;
    };
    [[nodiscard]] int WriteFields(int profile, std::initializer_list<FieldWrite> writes);

    device::KeyboardCommands& commands_;
};

}  // namespace trevolin::lighting
