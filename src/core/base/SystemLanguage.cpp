#include "core/base/SystemLanguage.h"

#include <string>

namespace trevolin::base {

namespace {

struct LocaleId {
    std::string_view language;
    std::string_view territory;
    uint32_t id;
};

// The first row of each language is its main id, used when the territory
// is missing or not listed.
constexpr LocaleId LocaleIds[] = {
    {"ar", "SA", 0x0401}, {"ar", "IQ", 0x0801}, {"ar", "EG", 0x0C01}, {"ar", "AE", 0x3801}, {"bg", "BG", 0x0402},
    {"ca", "ES", 0x0403}, {"cs", "CZ", 0x0405}, {"da", "DK", 0x0406}, {"de", "DE", 0x0407}, {"de", "CH", 0x0807},
    {"de", "AT", 0x0C07}, {"de", "LU", 0x1007}, {"de", "LI", 0x1407}, {"el", "GR", 0x0408}, {"en", "US", 0x0409},
    {"en", "GB", 0x0809}, {"en", "AU", 0x0C09}, {"en", "CA", 0x1009}, {"en", "NZ", 0x1409}, {"en", "IE", 0x1809},
    {"en", "ZA", 0x1C09}, {"en", "JM", 0x2009}, {"en", "BZ", 0x2809}, {"en", "TT", 0x2C09}, {"en", "ZW", 0x3009},
    {"en", "PH", 0x3409}, {"en", "IN", 0x4009}, {"en", "MY", 0x4409}, {"en", "SG", 0x4809}, {"es", "ES", 0x0C0A},
    {"es", "MX", 0x080A}, {"es", "GT", 0x100A}, {"es", "CR", 0x140A}, {"es", "PA", 0x180A}, {"es", "DO", 0x1C0A},
    {"es", "VE", 0x200A}, {"es", "CO", 0x240A}, {"es", "PE", 0x280A}, {"es", "AR", 0x2C0A}, {"es", "EC", 0x300A},
    {"es", "CL", 0x340A}, {"es", "UY", 0x380A}, {"es", "PY", 0x3C0A}, {"es", "BO", 0x400A}, {"es", "US", 0x540A},
    {"et", "EE", 0x0425}, {"fa", "IR", 0x0429}, {"fi", "FI", 0x040B}, {"fr", "FR", 0x040C}, {"fr", "BE", 0x080C},
    {"fr", "CA", 0x0C0C}, {"fr", "CH", 0x100C}, {"fr", "LU", 0x140C}, {"he", "IL", 0x040D}, {"hi", "IN", 0x0439},
    {"hr", "HR", 0x041A}, {"hu", "HU", 0x040E}, {"id", "ID", 0x0421}, {"is", "IS", 0x040F}, {"it", "IT", 0x0410},
    {"it", "CH", 0x0810}, {"ja", "JP", 0x0411}, {"ko", "KR", 0x0412}, {"lt", "LT", 0x0427}, {"lv", "LV", 0x0426},
    {"ms", "MY", 0x043E}, {"nb", "NO", 0x0414}, {"nl", "NL", 0x0413}, {"nl", "BE", 0x0813}, {"nn", "NO", 0x0814},
    {"pl", "PL", 0x0415}, {"pt", "BR", 0x0416}, {"pt", "PT", 0x0816}, {"ro", "RO", 0x0418}, {"ru", "RU", 0x0419},
    {"sk", "SK", 0x041B}, {"sl", "SI", 0x0424}, {"sr", "RS", 0x241A}, {"sv", "SE", 0x041D}, {"sv", "FI", 0x081D},
    {"th", "TH", 0x041E}, {"tr", "TR", 0x041F}, {"uk", "UA", 0x0422}, {"vi", "VN", 0x042A}, {"zh", "CN", 0x0804},
    {"zh", "TW", 0x0404}, {"zh", "HK", 0x0C04}, {"zh", "SG", 0x1004}, {"zh", "MO", 0x1404},
};

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

uint32_t SystemLanguage::Id(const Environment& env)
{
    for (const auto* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const auto value = env.Get(name);
        if (value && !value->empty()) {
            return IdOfLocale(*value);
        }
    }
    return UsEnglish;  // no locale set means the C locale
}

uint32_t SystemLanguage::IdOfLocale(std::string_view locale)
{
    // language[_territory][.codeset][@modifier]
    const auto nameEnd = locale.find_first_of(".@");
    const auto name = locale.substr(0, nameEnd);
    if (name == "C" || name == "POSIX" || name.empty()) {
        return UsEnglish;
    }
    const auto underscore = name.find('_');
    std::string language;
    for (const char c : name.substr(0, underscore)) {
        language += Lower(c);
    }
    std::string territory;
    if (underscore != std::string_view::npos) {
        for (const char c : name.substr(underscore + 1)) {
            territory += Upper(c);
        }
    }
    uint32_t main = 0;
    for (const auto& row : LocaleIds) {
        if (row.language != language) {
            continue;
        }
        if (row.territory == territory) {
            return row.id;
        }
        if (main == 0) {
            main = row.id;
        }
    }
    return main;
}

}  // namespace trevolin::base
