#pragma once

#include "core/base/Environment.h"
#include "core/base/Locations.h"
#include "core/base/SettingsStore.h"
#include "core/base/TextLookup.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace trevolin::base {

// Which language the program speaks, and every visible text, read from the
// language file "Lang%04X.ini" beside the executable. The settings and the
// language files are kept in memory and read again only when they changed
// on disk (see FileStamp), so an edited language file shows at the next
// lookup and a program that sits idle does not read files for its texts.
// Lookups may come from several threads; copies share what they keep.
class Language final : public TextLookup {
public:
    // Languages with a language file; empty slots are 0.
    static constexpr std::array<uint32_t, 6> SupportedIds{0x0409, 0x0407, 0x040C, 0, 0, 0};
    // Each supported language's name in that language, for choosing one.
    static constexpr std::array<std::string_view, 3> SupportedNames{"English", "Deutsch", "Fran\u00e7ais"};
    static constexpr std::string_view MissingText = "#Error";

    Language(Locations locations, SettingsStore settings, Environment environment);

    // The stored "dwLanguageId" when it is a nonzero number (even one without
    // a language file); otherwise the system language mapped to a supported
    // one, or US English. Only reads the settings: a language is stored only
    // when the user chooses one, so a user whose system language changes
    // gets the new one unless they chose.
    uint32_t LanguageId() const;
    // True when the settings hold a language the user chose.
    bool Chosen() const;
    // Stores 0 as "dwLanguageId": the system language chooses again. False
    // when it could not be stored.
    bool ChooseAutomatically();
    // What the user chose, for a menu of SupportedNames: -1 for the system
    // language, the index of a supported language, or -2 for a stored id
    // without a language file.
    int ChoiceIndex() const;
    // Choose(-1) chooses automatically; any other index as SetLanguageIndex.
    bool Choose(int index);
    // Position of LanguageId() among the supported ids; 0 when absent.
    int LanguageIndex() const;
    // Stores the supported id at `index` (0 for an index out of range) as
    // "dwLanguageId"; false when it could not be stored.
    bool SetLanguageIndex(int index);

    // A key of section TEXT, LIGHT or MODE in the language file of the
    // language at `index` (an index out of range or of an empty slot counts
    // as 0): the value, "" for an empty one. A key or file missing from a
    // translation reads the English file; "#Error" when that lacks it too.
    std::string Text(std::string_view key, int index) const;
    std::string LightText(std::string_view key, int index) const;
    std::string ModeText(std::string_view key, int index) const;

    // The same in the current language.
    std::string Text(std::string_view key) const override;
    std::string LightText(std::string_view key) const override;
    std::string ModeText(std::string_view key) const override;

    // The language file of the language at `index`, as Text() reads it.
    std::string LanguageFile(int index) const;

    // How many times the settings or a language file were read; lookups
    // that find both unchanged on disk read nothing.
    size_t FileReads() const;

private:
    struct Cache;

    std::string Read(std::string_view section, std::string_view key, int index) const;
    std::optional<std::string> ReadSlot(std::string_view section, std::string_view key, size_t slot) const;
    // The stored "dwLanguageId" when it is a nonzero number.
    std::optional<uint32_t> StoredId() const;

    Locations locations_;
    SettingsStore settings_;
    Environment environment_;
    std::shared_ptr<Cache> cache_;
};

}  // namespace trevolin::base
