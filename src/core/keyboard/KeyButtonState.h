#pragma once

#include <cstdint>

namespace trevolin::keyboard {

// F1 to F4, which the flip setting turns off, and D1 to D6, which it turns
// on (buttons a skin may place; they are not keys of the layout).
inline constexpr uint32_t FirstFlipKey = 1010;
inline constexpr uint32_t LastFlipKey = 1013;
inline constexpr uint32_t FirstFlipPartner = 1016;
inline constexpr uint32_t LastFlipPartner = 1021;

// Everything that decides whether a key button of the main window can be
// clicked; the window keeps these facts and asks again whenever one changes.
struct KeyButtonFacts {
    bool keyboardPresent = false;
    bool placed = true;     // the skin gives the button a place
    bool available = true;  // the key's look says it can be given a job
    bool flipped = false;   // the flip setting
};

bool KeyButtonEnabled(uint32_t controlId, const KeyButtonFacts& facts);

}  // namespace trevolin::keyboard
