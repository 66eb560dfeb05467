#pragma once

#include "core/base/Environment.h"

#include <cstdint>
#include <string_view>

namespace trevolin::base {

// The user's language as a Windows-style language id (0x0409 for US
// English), which is how language files are named. Taken from the locale
// variables in the order the C library uses for messages: LC_ALL, then
// LC_MESSAGES, then LANG; unset or empty ones are skipped.
class SystemLanguage {
public:
    static constexpr uint32_t UsEnglish = 0x0409;

    static uint32_t Id(const Environment& env);

    // "en_GB.UTF-8", "de_DE@euro", "zh_SG", "de": the id of the language and
    // territory; the language's main id when the territory is unknown or
    // missing; US English for the C and POSIX locales; 0 for a language
    // without an id.
    static uint32_t IdOfLocale(std::string_view locale);
};

}  // namespace trevolin::base
