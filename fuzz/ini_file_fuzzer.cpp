// Feeds arbitrary text to the ini reader and writer. The first line names a
// section, a key, a value and a second section and key, separated by 0x01;
// the rest is the file. A value read is one line within the length limit;
// a value written reads back as it was, and every other value of the file
// reads as before.
#include "core/base/IniFile.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

using trevolin::base::IniFile;

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

size_t Characters(std::string_view text)
{
    size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : 1;
    return count;
}

void CheckRead(const std::optional<std::string>& value)
{
    if (value && (value->find('\n') != std::string::npos || Characters(*value) > IniFile::DefaultMaxValueLength))
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t newline = input.find('\n');
    const std::string_view head = std::string_view(input).substr(0, newline);
    const std::string_view file =
        newline == std::string::npos ? std::string_view() : std::string_view(input).substr(newline + 1);

    std::array<std::string_view, 5> names{};  // section, key, value, other section, other key
    std::string_view rest = head;
    for (auto& name : names) {
        const size_t cut = rest.find('\x01');
        name = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    const auto [section, key, value, otherSection, otherKey] = names;

    const auto before = IniFile::ReadFromText(file, section, key);
    const auto otherBefore = IniFile::ReadFromText(file, otherSection, otherKey);
    CheckRead(before);
    CheckRead(otherBefore);

    const std::pair<std::string_view, std::string_view> entry{key, value};
    const auto written = IniFile::WriteToText(file, section, std::span(&entry, 1));
    if (!written)
        return 0;
    if (IniFile::ReadFromText(*written, section, key) != std::string(value))
        __builtin_trap();
    if ((!SameName(section, otherSection) || !SameName(key, otherKey)) &&
        IniFile::ReadFromText(*written, otherSection, otherKey) != otherBefore)
        __builtin_trap();
    return 0;
}
