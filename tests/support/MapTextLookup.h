#pragma once

#include "core/base/TextLookup.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace trevolin::test {

// A language file held in memory: one map per section. Keys compare without
// regard to case, as in the ini file, and a missing key reads as "#Error".
class MapTextLookup : public base::TextLookup {
public:
    struct CaselessLess {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const
        {
            return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                [](char x, char y) { return Lower(x) < Lower(y); });
        }
    };
    using Section = std::map<std::string, std::string, CaselessLess>;

    Section text;
    Section light;
    Section mode;

    MapTextLookup() = default;
    MapTextLookup(std::initializer_list<std::pair<const std::string, std::string>> textEntries) : text(textEntries) {}

    std::string Text(std::string_view key) const override { return Find(text, key); }
    std::string LightText(std::string_view key) const override { return Find(light, key); }
    std::string ModeText(std::string_view key) const override { return Find(mode, key); }

private:
    static char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

    static std::string Find(const Section& section, std::string_view key)
    {
        const auto it = section.find(key);
        return it == section.end() ? std::string("#Error") : it->second;
    }
};

}  // namespace trevolin::test
