#include "SimModel.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <type_traits>

namespace trevolin::sim {
namespace {

constexpr uint32_t kMaxLatencyMs = 60000;

// A whole-string unsigned number, decimal or 0x-hexadecimal, within [0, max].
bool parseNumber(std::string_view text, unsigned long max, unsigned long& out)
{
    std::string copy(text);
    while (!copy.empty() && (copy.back() == ' ' || copy.back() == '\t'))
        copy.pop_back();
    size_t start = copy.find_first_not_of(" \t");
    if (start == std::string::npos || copy[start] == '-' || copy[start] == '+')
        return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(copy.c_str() + start, &end, 0);
    if (errno != 0 || end == copy.c_str() + start || *end != '\0' || value > max)
        return false;
    out = value;
    return true;
}

// "1,2,3" or "1 2 3"; at most 32 numbers of 0..255. Empty means no effects.
bool parseEffects(std::string_view text, std::array<uint8_t, 32>& out)
{
    std::array<uint8_t, 32> effects{};
    size_t count = 0;
    size_t i = 0;
    while (i < text.size()) {
        const size_t end = text.find_first_of(", ", i);
        const std::string_view item = text.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
        if (!item.empty()) {
            unsigned long value = 0;
            if (count == effects.size() || !parseNumber(item, 255, value))
                return false;
            effects[count++] = static_cast<uint8_t>(value);
        }
        if (end == std::string_view::npos)
            break;
        i = end + 1;
    }
    out = effects;
    return true;
}

const char* variable(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

}  // namespace

std::array<uint8_t, 32> SimModel::defaultEffects()
{
    std::array<uint8_t, 32> effects{};
    for (uint8_t i = 0; i < 18; ++i)
        effects[i] = static_cast<uint8_t>(i + 1);
    effects[18] = 20;
    return effects;
}

SimModel SimModel::fromEnvironment(std::vector<std::string>& warnings)
{
    SimModel model;
    auto number = [&](const char* name, unsigned long max, auto& field) {
        const char* text = variable(name);
        if (!text)
            return;
        unsigned long value = 0;
        if (parseNumber(text, max, value))
            field = static_cast<std::remove_reference_t<decltype(field)>>(value);
        else
            warnings.push_back(std::string(name) + "=\"" + text + "\" is not a number from 0 to " +
                               std::to_string(max) + "; using the default");
    };
    number("TREVOLIN_SIM_FIRMWARE", 0xFFFF, model.firmwareVersion);
    number("TREVOLIN_SIM_MACRO_UNITS", 255, model.macroUnits);
    number("TREVOLIN_SIM_LATENCY_MS", kMaxLatencyMs, model.latencyMs);
    number("TREVOLIN_SIM_DEBUG", 9, model.debugLevel);
    unsigned long present = 1;
    number("TREVOLIN_SIM_PRESENT", 1, present);
    model.present = present != 0;
    unsigned long sync = 0;
    number("TREVOLIN_SIM_FSYNC", 1, sync);
    model.syncWrites = sync != 0;

    // An empty TREVOLIN_SIM_EFFECTS is meaningful (no effects), so look at it directly.
    if (const char* effects = std::getenv("TREVOLIN_SIM_EFFECTS")) {
        if (!parseEffects(effects, model.effects))
            warnings.push_back(std::string("TREVOLIN_SIM_EFFECTS=\"") + effects +
                               "\" is not a list of at most 32 numbers from 0 to 255; using the default");
    }
    if (const char* faults = std::getenv("TREVOLIN_SIM_FAULTS")) {
        std::string error;
        if (!SimFaultScript::parse(faults, model.faults, error))
            warnings.push_back(std::string("TREVOLIN_SIM_FAULTS=\"") + faults + "\": " + error +
                               "; no faults are injected");
    }
    return model;
}

}  // namespace trevolin::sim
