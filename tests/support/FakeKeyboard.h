#pragma once

#include "core/device/DeviceReport.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace trevolin::test {

class FakeHidLibrary;

// The one keyboard the scripted library answers for: its memory, read and
// written by the commands a keyboard knows, starting as a sane keyboard
// does. A test changes the one field it is about.
//
//   3/4   information block (firmware 0x107, profile 1 active, 255 units of
//         128 bytes of macro area, no lighting effects listed)
//   5/6   lighting records, 42 bytes per profile, all zero
//   7/8   key maps, 512 bytes per profile, each the default key map
//   9/10  macro area, all zero (no macros)
//   15    default key map, the built-in one
//   16/17 key colours, 512 bytes per profile, all zero
//
// A read that starts inside its area answers what is there, zero past the
// end; a read that starts outside it, or a write that does not fit, is
// answered "busy".
class FakeKeyboard {
public:
    static constexpr size_t ProfileCount = 3;
    static constexpr size_t LightingRecordSize = 42;
    static constexpr size_t KeyMapSize = 512;
    static constexpr size_t MacroUnitSize = 128;

    FakeKeyboard();

    // The capacity in the information block and the area's size together.
    void SetMacroUnits(uint8_t units);
    // The effects the information block lists, from byte 12 on.
    void SetEffects(std::initializer_list<uint8_t> effects);
    uint8_t* LightingRecord(int profile) { return lighting.data() + LightingRecordSize * static_cast<size_t>(profile); }
    std::array<uint8_t, KeyMapSize> KeyMapBlock(size_t profile) const;

    // Answers every request of `library` from this memory from now on.
    void AnswerFor(FakeHidLibrary& library);
    void Answer(const device::DeviceReport& request, device::DeviceReport& reply);

    std::array<uint8_t, 44> info{};
    std::array<uint8_t, ProfileCount * LightingRecordSize> lighting{};
    std::array<uint8_t, ProfileCount * KeyMapSize> keymaps{};
    std::vector<uint8_t> macroArea;
    std::array<uint8_t, KeyMapSize> defaultKeymap{};
    std::array<uint8_t, ProfileCount * KeyMapSize> keyColours{};

    // Commands answered with a status instead (0xFF refused, 0xFE busy).
    std::map<uint8_t, uint8_t> statusOf;
    // Command and offset pairs refused, for a failure in the middle of a transfer.
    std::set<std::pair<uint8_t, uint16_t>> refusedAt;
};

}  // namespace trevolin::test
