#pragma once

// The simulated keyboard's whole memory, read and put back between the
// soak's runs of one step.
#include "transport/sim/SimKeyboardControl.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace trevolin::soak {

using Memory = std::vector<std::vector<uint8_t>>;

inline sim::SimKeyboardControl& Keyboard()
{
    return sim::SimKeyboardControl::instance();
}

// Everything the keyboard keeps, area by area (the info block first: it
// says how large the macro area is).
inline Memory Snapshot()
{
    Memory memory;
    for (int32_t area = QL_SIM_AREA_INFO; area <= QL_SIM_AREA_KEY_COLORS; ++area) {
        std::vector<uint8_t> bytes(static_cast<size_t>(std::max(0, Keyboard().QlSimAreaSize(area))));
        if (!bytes.empty())
            Keyboard().QlSimReadArea(area, 0, bytes.data(), static_cast<uint32_t>(bytes.size()));
        memory.push_back(std::move(bytes));
    }
    return memory;
}

inline void Restore(const Memory& memory)
{
    for (size_t area = 0; area < memory.size(); ++area) {
        if (!memory[area].empty())
            Keyboard().QlSimWriteArea(static_cast<int32_t>(area), 0, memory[area].data(),
                                      static_cast<uint32_t>(memory[area].size()));
    }
}

inline const char* const AreaNames[] = {"info", "lighting", "key maps", "macros", "default key map", "key colours"};

inline std::string Difference(const Memory& got, const Memory& wanted)
{
    for (size_t area = 0; area < got.size() && area < wanted.size(); ++area) {
        if (got[area] == wanted[area])
            continue;
        size_t at = 0;
        while (at < got[area].size() && at < wanted[area].size() && got[area][at] == wanted[area][at])
            ++at;
        return std::string(AreaNames[area]) + " differ from byte " + std::to_string(at);
    }
    return "same";
}

// The faults end; a keyboard that left comes back.
inline void EndFaults()
{
    Keyboard().QlSimRunFaults("");
    Keyboard().QlSimPlug();
    Keyboard().waitIdle();
}

}  // namespace trevolin::soak
