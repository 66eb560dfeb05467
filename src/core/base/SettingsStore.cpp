#include "core/base/SettingsStore.h"

#include "core/base/IniFile.h"
#include "core/base/PrivateFolder.h"

#include <fmt/format.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace trevolin::base {

namespace {

constexpr std::string_view DwordPrefix = "dword:";
constexpr std::string_view TextPrefix = "sz:";

// Escaped text can take four bytes for one.
constexpr size_t MaxEncodedLength = SettingsStore::MaxTextLength * 4 + 16;

constexpr char HexDigits[] = "0123456789ABCDEF";

bool NeedsEscapeInName(unsigned char c)
{
    return c < 0x20 || c == 0x7F || c == '%' || c == '=' || c == ';' || c == '[' || c == ']';
}

// Ini lines cannot hold every name; escaping keeps distinct names distinct
// and leaves the usual ones readable.
std::string EncodeName(std::string_view name)
{
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const bool edgeSpace = (c == ' ' || c == '\t') && (i == 0 || i + 1 == name.size());
        if (NeedsEscapeInName(c) || edgeSpace) {
            out += '%';
            out += HexDigits[c >> 4];
            out += HexDigits[c & 0x0F];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string EncodeText(std::string_view text)
{
    std::string out(TextPrefix);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += HexDigits[c >> 4];
            out += HexDigits[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        const char a = text[i];
        const char lower = (a >= 'A' && a <= 'Z') ? static_cast<char>(a - 'A' + 'a') : a;
        if (lower != prefix[i]) {
            return false;
        }
    }
    return true;
}

std::optional<uint32_t> DecodeDword(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (const char c : digits) {
        const int digit = HexValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

// A hand-edited text may hold a lone backslash (a folder name, say); it is
// kept as it stands rather than refused.
std::string DecodeText(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            if (text[i + 1] == '\\') {
                out += '\\';
                ++i;
                continue;
            }
            if (text[i + 1] == 'x' && i + 3 < text.size() && HexValue(text[i + 2]) >= 0 && HexValue(text[i + 3]) >= 0) {
                out += static_cast<char>(HexValue(text[i + 2]) * 16 + HexValue(text[i + 3]));
                i += 3;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::optional<SettingValue> Decode(std::string_view stored)
{
    if (StartsWithNoCase(stored, DwordPrefix)) {
        if (auto value = DecodeDword(stored.substr(DwordPrefix.size()))) {
            return SettingValue(*value);
        }
        return std::nullopt;
    }
    if (StartsWithNoCase(stored, TextPrefix)) {
        return SettingValue(DecodeText(stored.substr(TextPrefix.size())));
    }
    return std::nullopt;
}

std::optional<std::string> ConfigHome(const Environment& env)
{
    if (auto own = env.AbsolutePath("TREVOLIN_CONFIG_HOME")) {
        return own;
    }
    if (auto xdg = env.AbsolutePath("XDG_CONFIG_HOME")) {
        return xdg;
    }
    if (auto home = env.AbsolutePath("HOME")) {
        return *home + "/.config";
    }
    return std::nullopt;
}

}  // namespace

SettingsStore::SettingsStore(std::string file) : file_(std::move(file))
{
}

std::optional<std::string> SettingsStore::DefaultFile(const Environment& env)
{
    auto home = ConfigHome(env);
    if (!home) {
        return std::nullopt;
    }
    while (home->size() > 1 && home->back() == '/') {
        home->pop_back();
    }
    return (*home == "/" ? std::string() : *home) + "/trevolin/settings.ini";
}

std::optional<SettingValue> SettingsStore::Get(std::string_view keyPath, std::string_view name) const
{
    const IniFile file(file_, MaxEncodedLength);
    const auto stored = file.Read(EncodeName(keyPath), EncodeName(name));
    if (!stored) {
        return std::nullopt;
    }
    return Decode(*stored);
}

std::optional<uint32_t> SettingsStore::GetDword(std::string_view keyPath, std::string_view name) const
{
    const auto value = Get(keyPath, name);
    if (!value || !std::holds_alternative<uint32_t>(*value)) {
        return std::nullopt;
    }
    return std::get<uint32_t>(*value);
}

std::optional<std::string> SettingsStore::GetString(std::string_view keyPath, std::string_view name) const
{
    auto value = Get(keyPath, name);
    if (!value || !std::holds_alternative<std::string>(*value)) {
        return std::nullopt;
    }
    return std::get<std::string>(std::move(*value));
}

bool SettingsStore::SetDword(std::string_view keyPath, std::string_view name, uint32_t value)
{
    return Set(keyPath, name, fmt::format("{}{:08x}", DwordPrefix, value));
}

bool SettingsStore::SetString(std::string_view keyPath, std::string_view name, std::string_view value)
{
    if (value.size() > MaxTextLength) {
        return false;
    }
    return Set(keyPath, name, EncodeText(value));
}

bool SettingsStore::Set(std::string_view keyPath, std::string_view name, const std::string& encoded)
{
    if (keyPath.empty() || name.empty()) {
        return false;
    }
    const auto folder = std::filesystem::path(file_).parent_path();
    if (!folder.empty()) {
        // A folder that cannot be made fails the write below.
        static_cast<void>(CreatePrivateFolders(folder.string()));
    }
    IniFile file(file_, MaxEncodedLength);
    return file.Write(EncodeName(keyPath), EncodeName(name), encoded);
}

std::string SettingsStore::ProfilesKeyPath()
{
    return fmt::format("Software\\{}\\{}\\{}", ApplicationKeyName, ApplicationTitle, ProfilesSectionName);
}

std::string SettingsStore::ProfileString(std::string_view entry, std::string_view fallback) const
{
    auto value = GetString(ProfilesKeyPath(), entry);
    return value ? std::move(*value) : std::string(fallback);
}

bool SettingsStore::SetProfileString(std::string_view entry, std::string_view value)
{
    return SetString(ProfilesKeyPath(), entry, value);
}

}  // namespace trevolin::base
