#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace trevolin::device {

// The keyboard's 44-byte information block, read with command 3.
struct InfoBlock {
    static constexpr size_t Size = 44;
    static constexpr uint16_t MinimumFirmware = 0x105;

    std::array<uint8_t, Size> bytes{};

    uint16_t FirmwareVersion() const;
    uint8_t ActiveProfile() const { return bytes[10]; }
    void SetActiveProfile(uint8_t profile) { bytes[10] = profile; }
    uint32_t MacroCapacity() const { return bytes[11] * 128u; }
    // The 32 effect slots as the keyboard lists them; 0 is an empty slot
    // and the slots after it still count.
    std::array<uint8_t, 32> EffectSlots() const;
    // The effects offered, in the keyboard's order, empty slots skipped.
    std::vector<uint8_t> SupportedEffects() const;
    bool FirmwareTooOld() const { return FirmwareVersion() < MinimumFirmware; }
};

}  // namespace trevolin::device
