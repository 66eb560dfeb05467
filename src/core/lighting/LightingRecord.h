#pragma once

#include "core/lighting/LightMode.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace trevolin::lighting {

// One profile's 42-byte record in the keyboard's lighting area (commands 5
// and 6); profile p's record starts at 42p. Bytes the panel does not use
// belong to the keyboard and are only ever written by the defaults.
class LightingRecord {
public:
    static constexpr size_t Size = 42;
    static constexpr int ProfileCount = 3;
    // The defaults cover the record up to the third colour's flag.
    static constexpr size_t DefaultsLength = 35;

    // Field offsets inside a record.
    static constexpr uint8_t Effect = 0;
    static constexpr uint8_t Brightness = 1;
    static constexpr uint8_t Speed = 2;
    static constexpr uint8_t Direction = 3;
    static constexpr uint8_t Multicolour = 4;
    static constexpr uint8_t Colour = 5;  // red, green, blue
    static constexpr uint8_t ReportRate = 15;
    static constexpr uint8_t ColourChoice = 18;
    static constexpr uint8_t TriggerChoice = 19;
    static constexpr uint8_t SecondColour = 25;
    static constexpr uint8_t SecondMulticolour = 28;
    static constexpr uint8_t ThirdColour = 30;
    static constexpr uint8_t ThirdMulticolour = 33;

    using Bytes = std::array<uint8_t, Size>;

    // Device offset of a field of profile `profile` (0 to 2).
    static uint16_t Offset(int profile, uint8_t field);

    // Reads a record into the model. Values the panel cannot show are
    // brought into range (brightness and speed at most 4, report rate at
    // most 3, a colour choice past 3 as 0); a trigger choice other than 0 or
    // 1 leaves the model's as it was.
    static void Decode(std::span<const uint8_t, Size> record, LightMode& model);

    // The record as the defaults write it: flags that are on as 0xFF.
    static Bytes Encode(const LightMode& model);
};

using LightingRecords = std::array<LightingRecord::Bytes, LightingRecord::ProfileCount>;

}  // namespace trevolin::lighting
