// The keyboard's side of the command protocol: its memory areas and what
// it does with one 64-byte report. No threads, no files: SimTransport
// drives it and SimStateFile stores it.
#pragma once

#include "SimModel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace trevolin::sim {

// Areas as the control interface names them (QL_SIM_AREA_* in QlSimControl.h).
enum class Area : int32_t {
    Info = 0,
    Lighting = 1,
    Keymaps = 2,
    Macro = 3,
    DefaultKeymap = 4,
    KeyColors = 5,
};

class SimDevice {
public:
    static constexpr size_t kReportSize = 64;
    static constexpr size_t kMaxData = 56;
    static constexpr size_t kInfoSize = 44;
    static constexpr size_t kLightingRecord = 42;
    static constexpr size_t kLightingSize = 3 * kLightingRecord;
    static constexpr size_t kBlockSize = 512;
    static constexpr size_t kKeymapsSize = 3 * kBlockSize;
    static constexpr size_t kKeyColorsSize = 3 * kBlockSize;
    static constexpr size_t kMacroUnit = 128;
    static constexpr size_t kMacroMax = 255 * kMacroUnit;

    static constexpr uint8_t kReportId = 4;
    static constexpr uint8_t kStatusOk = 0x00;
    // The report itself is unusable: wrong report id, bad report checksum,
    // length above 56, unknown command.
    static constexpr uint8_t kStatusBadReport = 0xFF;
    // A well-formed request the keyboard will not carry out: offset or length
    // outside the area, an active profile above 2 (and injected refusals).
    static constexpr uint8_t kStatusRefused = 0xFE;
    static constexpr uint8_t kCommandBootMode = 0xEE;

    using Report = std::array<uint8_t, kReportSize>;

    struct Outcome {
        Report reply{};
        bool hasReply = false;  // false only for boot mode
        bool changed = false;   // memory that is persisted changed
        bool bootMode = false;
    };

    SimDevice();

    // Factory memory for this model: info block from the model, the restore-
    // default lighting record in every profile, the factory key map in every
    // key-map block, an empty macro area, white per-key colours.
    void factoryReset(const SimModel& model);

    Outcome handle(const Report& request);

    // The boot-mode report: 04, bytes 3 and 4 = 0xEE, bytes 1-2 zero (it is
    // sent without a report checksum) or a valid checksum.
    static bool isBootRequest(const Report& request);
    // A reply that refuses `request` with `status`, data zero.
    static Report refusal(const Report& request, uint8_t status);

    // Low 16 bits of the sum of bytes 3..63.
    static uint16_t reportChecksum(const uint8_t* report);
    static void sealReply(Report& reply);

    // Whole area as the commands see it (the macro area is as long as the
    // capacity in info byte 11 says). Empty span for an unknown area.
    std::span<uint8_t> area(Area which);
    std::span<const uint8_t> area(Area which) const;

    uint8_t activeProfile() const { return info_[10]; }
    void setActiveProfile(uint8_t profile) { info_[10] = profile; }
    size_t macroCapacity() const { return static_cast<size_t>(info_[11]) * kMacroUnit; }

    // The whole 255-unit macro store, whatever the current capacity.
    std::span<uint8_t> macroStore() { return macro_; }

private:
    uint8_t readArea(std::span<const uint8_t> area, unsigned offset, unsigned length, uint8_t* out) const;
    uint8_t writeArea(std::span<uint8_t> area, unsigned offset, unsigned length, const uint8_t* data, bool& changed);
    uint8_t writeInfo(unsigned offset, unsigned length, const uint8_t* data, bool& changed);

    std::array<uint8_t, kInfoSize> info_{};
    std::array<uint8_t, kLightingSize> lighting_{};
    std::array<uint8_t, kKeymapsSize> keymaps_{};
    std::array<uint8_t, kMacroMax> macro_{};
    std::array<uint8_t, kBlockSize> defaultKeymap_{};
    std::array<uint8_t, kKeyColorsSize> keyColors_{};
};

}  // namespace trevolin::sim
