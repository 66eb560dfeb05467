#pragma once

#include "core/macros/MacroEvent.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace trevolin::macros {

// A named list of timed events that the keyboard plays when a key assigned
// to it is pressed. Stored as a 32 512-byte record: the name (250 UTF-16
// units, NUL-terminated), play count, new-flag, id, event count and room
// for 4000 events.
struct Macro {
    static constexpr size_t Size = 0x7F00;
    static constexpr size_t NameUnits = 250;
    static constexpr size_t MaxNameLength = NameUnits - 1;
    static constexpr size_t MaxEvents = 4000;
    static constexpr size_t EventsOffset = 512;
    static constexpr size_t PlayCountOffset = 500;
    static constexpr size_t EventCountOffset = 508;  // u16, as the file says: may exceed MaxEvents
    static constexpr uint16_t MinId = 1;
    static constexpr uint16_t MaxId = 100;
    static_assert(EventsOffset + MaxEvents * MacroEvent::Size == Size);

    std::u16string name;
    uint8_t playCount = 1;
    uint16_t isNew = 0;  // 1 while the dialog that created it has not committed it
    uint16_t id = 0;     // 1 to 100; what key actions of kind 4 refer to
    std::vector<MacroEvent> events;

    bool operator==(const Macro&) const = default;

    // From a record (at least Size bytes; anything shorter reads as an empty
    // macro). A record that claims more than 4000 events gives 4000, a
    // name without terminator is cut to 249 units.
    static Macro Read(std::span<const uint8_t> record);
    // The id and name fields alone, for the look-ups.
    static uint16_t ReadId(std::span<const uint8_t> record);
    static std::u16string ReadName(std::span<const uint8_t> record);
    // At most 4000, whatever the record claims.
    static size_t ReadEventCount(std::span<const uint8_t> record);

    // All Size bytes of the record: the name cut to 249 units, at most 4000
    // events, everything else zero. Throws std::bad_alloc.
    void Write(std::span<uint8_t> record) const;
};

// Ids 1 to 100 name the macros, so no list can hold more.
inline constexpr size_t MaxMacroCount = Macro::MaxId;

}  // namespace trevolin::macros
