#pragma once

#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/preview/TintColor.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace trevolin::lighting::preview {

// Key buttons in the order every loop over the keys follows: the 105 layout
// keys, G1 to G9, then the Fn key.
inline constexpr size_t PreviewButtonCount = keyboard::LayoutKeyCount + keyboard::GKeyCount + 1;
inline constexpr size_t FirstGKeyButton = keyboard::LayoutKeyCount;
inline constexpr size_t FnButton = PreviewButtonCount - 1;

enum class TintChange : uint8_t {
    Keep,   // the frame leaves the button's tint as it is
    Clear,  // the button shows no tint
    Set,    // the button is tinted with `color` at keyboard::KeyTintStrength
};

struct KeyTint {
    TintChange change = TintChange::Keep;
    TintColor color{};

    bool operator==(const KeyTint&) const = default;
};

// What one frame does to each key button, indexed as above.
using PreviewTints = std::array<KeyTint, PreviewButtonCount>;

// PreviewButtonCount for a reference to no key button.
size_t ButtonIndexOf(keyboard::KeyRef key);
keyboard::KeyRef KeyOfButton(size_t button);

}  // namespace trevolin::lighting::preview
