#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trevolin::cli {

// A key of a profile's table as the command line names it: the English key
// name, and for a G key its bank.
struct KeyTarget {
    std::string name;  // "A", "NumEnter", "G3"
    uint16_t keyNumber = 0;
    uint16_t scan = 0;  // the key's own code, for layout keys
    bool gKey = false;
    size_t gIndex = 0;  // G1 = 0
    int bank = 0;       // 0 or 1 for G keys
};

// Every key that has an entry: the layout keys in keyboard order, then G1 to
// G9 of bank 1 and of bank 2.
std::vector<KeyTarget> AllKeyTargets();

// `name` is a key name; `bank` ("a", "b", "1", "2" or empty) only for G keys.
// Nothing, with `error` set to a sentence, when either does not fit; for a
// name that is no key that can be reassigned, the sentence lists no names.
std::optional<KeyTarget> FindKeyTarget(std::string_view name, std::string_view bank, std::string& error);

}  // namespace trevolin::cli
