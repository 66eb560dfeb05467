#pragma once

#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/RgbColor.h"

#include <array>
#include <cstddef>
#include <optional>

namespace trevolin::lighting {

// The colour tints the lighting puts on the on-screen key buttons (always
// at keyboard::KeyTintStrength): the 105 layout keys, G1 to G9 and the Fn
// key. The main window draws them.
class KeyTints {
public:
    static constexpr size_t ButtonCount = keyboard::LayoutKeyCount + keyboard::GKeyCount + 1;

    void ClearAll() { tints_.fill(std::nullopt); }
    void Set(keyboard::KeyRef key, RgbColor colour);
    std::optional<RgbColor> Get(keyboard::KeyRef key) const;
    size_t TintedCount() const;

private:
    // ButtonCount for a reference to no button.
    static size_t Slot(keyboard::KeyRef key);

    std::array<std::optional<RgbColor>, ButtonCount> tints_{};
};

}  // namespace trevolin::lighting
