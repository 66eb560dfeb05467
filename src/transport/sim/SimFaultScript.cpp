#include "SimFaultScript.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace trevolin::sim {
namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A whole unsigned number, decimal or 0x-hexadecimal, from `min` to `max`.
bool number(std::string_view text, uint32_t min, uint32_t max, uint32_t& out)
{
    const std::string copy(trimmed(text));
    if (copy.empty() || copy.front() == '-' || copy.front() == '+')
        return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(copy.c_str(), &end, 0);
    if (errno != 0 || end != copy.c_str() + copy.size() || value < min || value > max)
        return false;
    out = static_cast<uint32_t>(value);
    return true;
}

struct Name {
    std::string_view name;
    SimFaultStep::Kind kind;
    bool takesValue;
    bool takesCount;
};

constexpr Name kNames[] = {
    {"ok", SimFaultStep::Kind::Pass, false, true},
    {"drop", SimFaultStep::Kind::Drop, false, true},
    {"late", SimFaultStep::Kind::Late, true, true},
    {"echo", SimFaultStep::Kind::Echo, false, true},
    {"status", SimFaultStep::Kind::Status, true, true},
    {"refuse-writes", SimFaultStep::Kind::RefuseWrites, false, true},
    {"leave-after", SimFaultStep::Kind::LeaveAfter, true, false},
};

// One step; an empty string when it is understood, else why not.
std::string parseStep(std::string_view text, SimFaultStep& step)
{
    std::string_view countText;
    bool hasCount = false;
    if (const size_t colon = text.find(':'); colon != std::string_view::npos) {
        countText = text.substr(colon + 1);
        text = trimmed(text.substr(0, colon));
        hasCount = true;
    }
    std::string_view valueText;
    bool hasValue = false;
    if (const size_t equals = text.find('='); equals != std::string_view::npos) {
        valueText = text.substr(equals + 1);
        text = trimmed(text.substr(0, equals));
        hasValue = true;
    }
    const Name* found = nullptr;
    for (const Name& name : kNames) {
        if (name.name == text)
            found = &name;
    }
    if (!found)
        return "unknown fault \"" + std::string(text) +
               "\" (known: ok, drop, late=MS, echo, status=0xFE|0xFF, refuse-writes, leave-after=N)";
    step.kind = found->kind;
    if (hasCount && !found->takesCount)
        return std::string(found->name) + " takes no count";
    if (hasCount && !number(countText, 1, SimFaultScript::kMaxCount, step.count))
        return "the count must be a number from 1 to " + std::to_string(SimFaultScript::kMaxCount);
    if (!found->takesValue) {
        if (hasValue)
            return std::string(found->name) + " takes no value";
        return {};
    }
    if (!hasValue)
        return std::string(found->name) + " needs a value, as in " + std::string(found->name) + "=" +
               (found->kind == SimFaultStep::Kind::Status ? "0xFE" : "5");
    switch (found->kind) {
    case SimFaultStep::Kind::Late:
        if (!number(valueText, 0, SimFaultScript::kMaxLateMs, step.value))
            return "late takes milliseconds from 0 to " + std::to_string(SimFaultScript::kMaxLateMs);
        break;
    case SimFaultStep::Kind::Status:
        if (!number(valueText, 0, 0xFF, step.value) || (step.value != 0xFE && step.value != 0xFF))
            return "status takes 0xFE or 0xFF";
        break;
    case SimFaultStep::Kind::LeaveAfter:
        if (!number(valueText, 1, SimFaultScript::kMaxCount, step.value))
            return "leave-after takes a number of requests from 1 to " + std::to_string(SimFaultScript::kMaxCount);
        break;
    default:
        break;
    }
    return {};
}

}  // namespace

bool SimFaultScript::parse(std::string_view text, std::vector<SimFaultStep>& steps, std::string& error)
{
    std::vector<SimFaultStep> parsed;
    if (trimmed(text).empty()) {
        steps.clear();
        return true;
    }
    size_t index = 0;
    while (true) {
        ++index;
        const size_t comma = text.find(',');
        const std::string_view item = trimmed(text.substr(0, comma));
        SimFaultStep step;
        const std::string why = item.empty() ? std::string("empty step") : parseStep(item, step);
        if (!why.empty()) {
            error = "step " + std::to_string(index) + " \"" + std::string(item) + "\": " + why;
            return false;
        }
        parsed.push_back(step);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    steps = std::move(parsed);
    return true;
}

}  // namespace trevolin::sim
