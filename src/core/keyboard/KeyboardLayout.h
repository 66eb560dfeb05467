#pragma once

#include "core/keyboard/LayoutKey.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace trevolin::keyboard {

inline constexpr size_t LayoutKeyCount = 105;
inline constexpr size_t GKeyCount = 9;
inline constexpr size_t GKeysEnabledAtStart = 5;  // G1..G5; G6..G9 show disabled

// Colour page slots: rows of 17, three bytes each.
inline constexpr size_t LightPositionCount = 144;
inline constexpr uint8_t NoLight = 255;
inline constexpr uint8_t GKeyLight = 125;  // the G keys share one light
inline constexpr uint8_t FnKeyLight = 96;

inline constexpr uint16_t FnKeyControlId = 1174;
inline constexpr std::string_view FnKeyCaption = "Fn";

inline constexpr uint16_t GKeyNumberBase = 0x100;
inline constexpr uint16_t GKeyBankOffset = 9;  // bank B follows bank A

inline constexpr uint8_t KeyTintStrength = 50;  // percent, at most 100

std::span<const LayoutKey, LayoutKeyCount> LayoutKeys();
std::span<const uint16_t, GKeyCount> GKeyControlIds();

enum class KeyKind { Layout, GKey, Fn };

// A key button: a layout position, a G index (0 = G1), or the Fn key.
struct KeyRef {
    KeyKind kind = KeyKind::Layout;
    uint8_t index = 0;

    bool operator==(const KeyRef&) const = default;
};

// The G keys first, then the layout keys; the Fn key is not among them.
std::optional<KeyRef> FindKeyByControlId(uint32_t controlId);

// Like FindKeyByControlId, and also the Fn key.
std::optional<KeyRef> FindKeyButton(uint32_t controlId);

uint16_t ControlIdOf(KeyRef key);

// Key number of a G key in the current bank (bank B when the flag is set);
// 0 for an index past G9.
uint16_t GKeyNumber(size_t gIndex, bool gKeyBankB);

// The Fn key has no key number and cannot be assigned.
std::optional<uint16_t> KeyNumberOfKey(KeyRef key, bool gKeyBankB);
std::optional<uint16_t> KeyNumberOfControl(uint32_t controlId, bool gKeyBankB);

// NoLight for a key without a light; nothing for an id that is not a key.
uint8_t LightPositionOf(KeyRef key);
std::optional<uint8_t> LightPositionOfControl(uint32_t controlId);

// Whether a light position names a slot of the colour page; NoLight does not.
bool HasLight(uint8_t lightPosition);

// The name the key's rectangle and pictures carry in the skin:
// "KEY_%03X" with the key number, "FUNC_G%d" from 1, "KEY_FN".
std::string SkinNameOf(KeyRef key);

bool GKeyEnabledAtStart(size_t gIndex);

enum class FnKeyVisit { Skip, Last };

// The 105 layout keys in layout order, then G1 to G9, then the Fn key when
// asked for.
void ForEachKey(const std::function<void(KeyRef)>& visit, FnKeyVisit fn = FnKeyVisit::Skip);

}  // namespace trevolin::keyboard
