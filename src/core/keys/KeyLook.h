#pragma once

#include <string>

namespace trevolin::keys {

// How a key button shows its key's action: the assigned look for any kind
// but Default, and a tooltip naming the key and what it does. A key the
// keyboard's key map has no position for is not available: its button is
// shown as such and offers no assignment.
struct KeyLook {
    bool assigned = false;
    std::string tooltip;
    bool available = true;

    bool operator==(const KeyLook&) const = default;
};

}  // namespace trevolin::keys
