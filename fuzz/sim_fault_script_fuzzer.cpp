// Feeds arbitrary text as TREVOLIN_SIM_FAULTS to the simulated keyboard's
// fault script reader. A script it takes has steps within their limits; one
// it refuses says why and leaves the steps it was given alone.
#include "SimFaultScript.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using trevolin::sim::SimFaultScript;
using trevolin::sim::SimFaultStep;

namespace {

bool WithinLimits(const SimFaultStep& step)
{
    using Kind = SimFaultStep::Kind;
    if (step.count < 1 || step.count > SimFaultScript::kMaxCount)
        return false;
    switch (step.kind) {
    case Kind::Late:
        return step.value <= SimFaultScript::kMaxLateMs;
    case Kind::Status:
        return step.value == 0xFE || step.value == 0xFF;
    case Kind::LeaveAfter:
        return step.count == 1 && step.value >= 1 && step.value <= SimFaultScript::kMaxCount;
    default:
        return step.value == 0;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<SimFaultStep> before{SimFaultStep{SimFaultStep::Kind::Drop, 7, 0}};
    std::vector<SimFaultStep> steps = before;
    std::string error;
    if (!SimFaultScript::parse(text, steps, error)) {
        if (error.empty() || steps != before)
            __builtin_trap();
        return 0;
    }
    // A step per comma at most, and none for a blank script.
    if (steps.size() > static_cast<size_t>(std::count(text.begin(), text.end(), ',')) + 1)
        __builtin_trap();
    for (const SimFaultStep& step : steps) {
        if (!WithinLimits(step))
            __builtin_trap();
    }
    return 0;
}
