// What kind of keyboard the simulator pretends to be: the parts of the
// information block that are not memory, and the timing. Read from the
// environment at Init and at every reset.
#pragma once

#include "SimFaultScript.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace trevolin::sim {

struct SimModel {
    uint16_t firmwareVersion = 0x0107;
    uint8_t macroUnits = 64;  // capacity = units x 128 bytes
    std::array<uint8_t, 32> effects = defaultEffects();
    uint32_t latencyMs = 0;
    bool present = true;  // plugged in at Init
    int32_t debugLevel = 0;
    bool syncWrites = false;           // fsync the state file before renaming it
    std::vector<SimFaultStep> faults;  // TREVOLIN_SIM_FAULTS, run from Init or a reset

    static std::array<uint8_t, 32> defaultEffects();

    // Each variable that is set but unusable keeps its default and adds one
    // line to `warnings`.
    static SimModel fromEnvironment(std::vector<std::string>& warnings);
};

}  // namespace trevolin::sim
