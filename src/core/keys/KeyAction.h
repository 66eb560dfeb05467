#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace trevolin::keys {

inline constexpr size_t KeyActionSize = 16;

// What one key does in one profile. In the profile image it is a 16-byte
// little-endian record; it is read and written field by field (see
// ReadKeyAction and WriteKeyAction), never overlaid on the bytes.
struct KeyAction {
    uint16_t kind = Default;
    uint16_t extra = 0;          // G-key marker, or a macro's play count for kind Macro
    uint32_t value = 0;          // meaning depends on kind
    uint32_t selectionFlag = 0;  // carried along; only a reset of the keys clears it
    uint32_t reserved = 0;       // carried along unchanged; holds a code kept as it stands (RawAction.h)

    bool operator==(const KeyAction&) const = default;

    static constexpr uint16_t Default = 0;        // the keyboard's own function
    static constexpr uint16_t Disabled = 1;       // the key does nothing
    static constexpr uint16_t Key = 2;            // value: key code, mouse button or wheel step
    static constexpr uint16_t LaunchProgram = 3;  // value: offset of the path in the image's text area
    static constexpr uint16_t Macro = 4;          // value: macro id
    static constexpr uint16_t StopMacro = 5;
    static constexpr uint16_t TextBlock = 6;  // value: offset of the text in the image's text area
    static constexpr uint16_t Media = 7;      // value: media index
    static constexpr uint16_t Function = 8;   // value: keyboard function index
};

// The keyboard's own functions are numbered 0 to 10.
inline constexpr uint32_t KeyboardFunctionCount = 11;

KeyAction ReadKeyAction(std::span<const uint8_t, KeyActionSize> bytes);
void WriteKeyAction(const KeyAction& action, std::span<uint8_t, KeyActionSize> bytes);

// For entry bytes handed over by the profile image: nothing is read or
// written unless they are exactly one record.
std::optional<KeyAction> TryReadKeyAction(std::span<const uint8_t> bytes);
[[nodiscard]] bool TryWriteKeyAction(const KeyAction& action, std::span<uint8_t> bytes);

}  // namespace trevolin::keys
