#pragma once

#include "core/base/TextLookup.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace trevolin::app {

// The main window's controls that are not keys, by skin key and control id.
struct MainControl {
    std::string_view skinKey;
    uint32_t id;
};

std::span<const MainControl> MainControls();
std::optional<uint32_t> MainControlIdOf(std::string_view skinKey);

// More control ids the window acts on.
namespace control {
inline constexpr uint32_t ProfileName = 1005;  // opens the profile manager
inline constexpr uint32_t ButtonMenu = 1139;
inline constexpr uint32_t LogoLink = 1121;
inline constexpr uint32_t Help = 1122;
inline constexpr uint32_t Minimise = 1123;
inline constexpr uint32_t LockAb = 1128;
inline constexpr uint32_t FlipIndicator = 1129;
inline constexpr uint32_t UpdateDialog = 32780;
}  // namespace control

// What a screen reader calls the main window's control `controlId`: the
// key's name for a key ("F5", "G3, bank A A3"), the language file's text for
// the others; empty for an id the window does not have.
std::string AccessibleNameOf(uint32_t controlId, const base::TextLookup& texts, bool bankB);
// The name a screen reader gives a control of the lighting panel; the
// direction pictures' names depend on `effect` (left, up or diffuse...).
// Empty for an id that is not the panel's.
std::string PanelAccessibleNameOf(uint16_t controlId, int effect, const base::TextLookup& texts);

// The caption a G key's button carries: "A1".."A5" in bank A, "B1".."B5" in
// bank B; G6 to G9 carry none.
std::string GKeyLabel(size_t gIndex, bool bankB);

}  // namespace trevolin::app
