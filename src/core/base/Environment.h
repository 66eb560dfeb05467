#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace trevolin::base {

// The process environment as the program reads it: the real one, or a fixed
// set of variables so that tests never depend on (or reach) the user's home,
// locale or configuration.
class Environment {
public:
    static Environment System();
    static Environment FromValues(std::map<std::string, std::string, std::less<>> values);

    // nullopt when the variable is not set; an empty value is returned as is.
    std::optional<std::string> Get(std::string_view name) const;

    // The value when it is set to an absolute path, as XDG asks of its
    // variables; relative and empty values count as unset.
    std::optional<std::string> AbsolutePath(std::string_view name) const;

private:
    Environment() = default;

    bool system_ = false;
    std::map<std::string, std::string, std::less<>> values_;
};

}  // namespace trevolin::base
