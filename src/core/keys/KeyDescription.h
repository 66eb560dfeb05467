#pragma once

#include "core/base/TextLookup.h"
#include "core/keys/KeyAction.h"
#include "core/keys/KeyLook.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace trevolin::keys {

// The name of the macro with this id; empty when there is none.
using MacroNameLookup = std::function<std::string(uint16_t macroId)>;

// Tooltips hold at most this many characters (a buffer of 260 with its
// terminator).
inline constexpr size_t TooltipMaxCharacters = 259;

// The look of an ordinary key's button from its entry: the key's name, and
// for an assigned key "KEY_PROMPT_SET" and what it does, every kind named
// ("A - key: B", "F11 - stop macro", "D - mouse: Wheel up"). Texts are
// looked up now, never kept.
KeyLook DescribeKeyAction(const base::TextLookup& texts, uint32_t keyCode, const KeyAction& entry,
                          const MacroNameLookup& macroNameOfId);

// The same for G key `gIndex` (0 = G1), named "G1" to "G9".
KeyLook DescribeGKeyAction(const base::TextLookup& texts, size_t gIndex, const KeyAction& entry,
                           const MacroNameLookup& macroNameOfId);

}  // namespace trevolin::keys
