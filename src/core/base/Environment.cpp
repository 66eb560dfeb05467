#include "core/base/Environment.h"

#include <cstdlib>
#include <utility>

namespace trevolin::base {

Environment Environment::System()
{
    Environment env;
    env.system_ = true;
    return env;
}

Environment Environment::FromValues(std::map<std::string, std::string, std::less<>> values)
{
    Environment env;
    env.values_ = std::move(values);
    return env;
}

std::optional<std::string> Environment::Get(std::string_view name) const
{
    if (system_) {
        const std::string key(name);
        const char* value = std::getenv(key.c_str());
        if (value == nullptr) {
            return std::nullopt;
        }
        return std::string(value);
    }
    const auto it = values_.find(name);
    if (it == values_.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<std::string> Environment::AbsolutePath(std::string_view name) const
{
    auto value = Get(name);
    if (!value || value->empty() || value->front() != '/') {
        return std::nullopt;
    }
    return value;
}

}  // namespace trevolin::base
