#pragma once

#include "core/base/TextLookup.h"

#include <string>
#include <string_view>

namespace trevolin::lighting {

// The English name of an effect the language file has no name for; empty
// for the others.
std::string_view FallbackEffectName(int mode);

// What the effect list, the command line and every message call effect
// `mode`: its name in the language file's section "MODE", or where the
// file has none, the English name above ("#Error" for an effect this
// program does not know).
std::string EffectName(const base::TextLookup& texts, int mode);

}  // namespace trevolin::lighting
