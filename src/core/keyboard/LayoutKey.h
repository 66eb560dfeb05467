#pragma once

#include <cstdint>
#include <string_view>

namespace trevolin::keyboard {

// One ordinary key button of the main window. Its position in the layout
// table is the order every loop over the keys follows.
struct LayoutKey {
    uint16_t controlId;
    std::string_view caption;  // as the dialog resource has it ("&&" shows "&")
    uint16_t scan;
    uint16_t keyNumber;  // entry in a profile's key table
    uint8_t light;       // slot in a colour page; NoLight for none
};

}  // namespace trevolin::keyboard
