#pragma once

#include <string>
#include <string_view>

namespace trevolin::base {

// Where every visible text comes from: the language file in the program,
// a plain table in tests. Lookups are never cached by callers.
class TextLookup {
public:
    virtual ~TextLookup() = default;
    virtual std::string Text(std::string_view key) const = 0;       // section TEXT
    virtual std::string LightText(std::string_view key) const = 0;  // section LIGHT
    virtual std::string ModeText(std::string_view key) const = 0;   // section MODE
};

}  // namespace trevolin::base
