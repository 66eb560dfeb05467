#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace trevolin::base {

// The ini files the program reads and writes: language files, skin files,
// lighting mode files, "wskb.ini". Lines are "key=value" under "[section]"
// headers; ';' starts a comment line.
//
// Sections and keys match without regard to ASCII case; the first section
// of a name is the one that counts, and its first key of a name. Values are
// trimmed, and one pair of matching quotes around a value is removed, so a
// value can keep leading or trailing spaces. A value longer than the
// length limit is cut to it (in characters, never inside one).
//
// Nothing here trusts the file: a missing, unreadable, binary, non-regular
// or oversized file reads as missing, and is never overwritten.
class IniFile {
public:
    static constexpr size_t MaxFileSize = 4 * 1024 * 1024;
    static constexpr size_t DefaultMaxValueLength = 260;

    explicit IniFile(std::string path, size_t maxValueLength = DefaultMaxValueLength);

    const std::string& Path() const { return path_; }

    // nullopt when the file, the section or the key is missing; an empty
    // string when the key is there with an empty value.
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;

    // The leading decimal number of the value (0 when it has none, clamped
    // to the int range); `fallback` when the key is missing.
    int ReadInt(std::string_view section, std::string_view key, int fallback) const;

    // Sets one value and keeps every other line of the file as it was; adds
    // the key at the end of its section, or the section at the end of the
    // file; creates the file (not its folder). The file is replaced
    // atomically. False, with the file untouched, when the names or the
    // value cannot be stored as they are (line breaks, '=' in a key, ']' in
    // a section, a value over the length limit) or the file cannot be
    // read or written.
    bool Write(std::string_view section, std::string_view key, std::string_view value);

    // Several values of one section in one replacement of the file, with the
    // same rules: nothing is written unless every one can be stored.
    bool WriteMany(std::string_view section, std::span<const std::pair<std::string_view, std::string_view>> entries);

    // The same rules over a file's text held in memory, for readers that
    // keep a file between lookups. LoadText is nullopt when the file is
    // missing or cannot be read as an ini file; WriteToText when a name or a
    // value cannot be stored.
    static std::optional<std::string> LoadText(const std::string& path);
    static std::optional<std::string> ReadFromText(std::string_view text, std::string_view section,
                                                   std::string_view key, size_t maxValueLength = DefaultMaxValueLength);
    static std::optional<std::string>
    WriteToText(std::string_view text, std::string_view section,
                std::span<const std::pair<std::string_view, std::string_view>> entries,
                size_t maxValueLength = DefaultMaxValueLength);

private:
    std::string path_;
    size_t maxValueLength_;
};

}  // namespace trevolin::base
