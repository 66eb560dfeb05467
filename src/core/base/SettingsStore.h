#pragma once

#include "core/base/Environment.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace trevolin::base {

// A stored setting: a 32-bit number (DWORD) or a text. The two are kept
// apart, so a number stored as text is not taken for a number.
using SettingValue = std::variant<uint32_t, std::string>;

// The user's settings: values under key paths ("Software\Dravik-RGB_01"),
// kept in one ini file with a section per key path and a typed value per
// line ("dwLanguageId=dword:00000409", "Flip=sz:1"). Key paths and value
// names match without regard to case. Names that an ini line cannot hold as
// they are ('=', ';', '[', ']', '%', line breaks, spaces at either end) are
// stored %-escaped; texts have their control characters and backslashes
// escaped, so any value survives a round trip.
//
// Every call reads or writes the file; nothing is held in memory. Lines the
// store does not understand stay in the file and are skipped.
class SettingsStore {
public:
    static constexpr std::string_view LanguageKeyPath = "Software\\Dravik-RGB_01";
    static constexpr std::string_view LanguageIdName = "dwLanguageId";
    static constexpr std::string_view ApplicationKeyName = "Trevolin_Marbeck";
    static constexpr std::string_view ApplicationTitle = "Trevolin";
    static constexpr std::string_view ProfilesSectionName = "PROFILES";
    static constexpr size_t MaxTextLength = 8192;

    explicit SettingsStore(std::string file);

    // $TREVOLIN_CONFIG_HOME, else $XDG_CONFIG_HOME, else $HOME/.config, then
    // "trevolin/settings.ini"; nullopt when none of them is an absolute path.
    static std::optional<std::string> DefaultFile(const Environment& env);

    const std::string& File() const { return file_; }

    // nullopt when the value is missing or not a value this store wrote.
    std::optional<SettingValue> Get(std::string_view keyPath, std::string_view name) const;
    // nullopt when missing or not a number.
    std::optional<uint32_t> GetDword(std::string_view keyPath, std::string_view name) const;
    // nullopt when missing or not a text.
    std::optional<std::string> GetString(std::string_view keyPath, std::string_view name) const;

    // The file and its folder are created on the first write. False when
    // the value could not be stored; the file is then unchanged.
    bool SetDword(std::string_view keyPath, std::string_view name, uint32_t value);
    bool SetString(std::string_view keyPath, std::string_view name, std::string_view value);

    // The application's "PROFILES" section (the "Flip" setting, the profile
    // list, the macro recording option), whose values are texts.
    static std::string ProfilesKeyPath();
    std::string ProfileString(std::string_view entry, std::string_view fallback) const;
    bool SetProfileString(std::string_view entry, std::string_view value);

private:
    bool Set(std::string_view keyPath, std::string_view name, const std::string& encoded);

    std::string file_;
};

}  // namespace trevolin::base
