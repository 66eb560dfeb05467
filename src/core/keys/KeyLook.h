#pragma once

#include <string>

namespace trevolin::keys {

// How a key button shows its key's action: the assigned look for any kind
// but Default, and a tooltip naming the key and what it does.
struct KeyLook {
    bool assigned = false;
    std::string tooltip;

    bool operator==(const KeyLook&) const = default;
};

}  // namespace trevolin::keys
