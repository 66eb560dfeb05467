#include "core/base/IniFile.h"

#include "core/base/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trevolin::base {

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

enum class LoadStatus { Loaded, Missing, Unreadable };

// Opened without blocking so that a FIFO or device given as an ini path
// cannot hang the program; only regular files are read.
LoadStatus Load(const std::string& path, std::string& content)
{
    content.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return errno == ENOENT ? LoadStatus::Missing : LoadStatus::Unreadable;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<uint64_t>(status.st_size) > IniFile::MaxFileSize) {
        ::close(fd);
        return LoadStatus::Unreadable;
    }
    char chunk[16384];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ::close(fd);
            return LoadStatus::Unreadable;
        }
        if (got == 0) {
            break;
        }
        // The file may grow while it is read.
        if (content.size() + static_cast<size_t>(got) > IniFile::MaxFileSize) {
            ::close(fd);
            content.clear();
            return LoadStatus::Unreadable;
        }
        content.append(chunk, static_cast<size_t>(got));
    }
    ::close(fd);
    return LoadStatus::Loaded;
}

struct Line {
    std::string_view text;    // without its line break
    std::string_view ending;  // "\n", "\r\n"; "\r" or empty for a last line without "\n"
};

std::vector<Line> SplitLines(std::string_view content)
{
    std::vector<Line> lines;
    size_t start = 0;
    while (start < content.size()) {
        const size_t newline = content.find('\n', start);
        if (newline == std::string_view::npos) {
            // A carriage return at the very end still ends the line, or the
            // line's value would change once a line is added after it.
            auto last = content.substr(start);
            const bool endsInReturn = last.ends_with('\r');
            last.remove_suffix(endsInReturn ? 1 : 0);
            lines.push_back({last, endsInReturn ? content.substr(content.size() - 1) : std::string_view()});
            break;
        }
        size_t end = newline;
        if (end > start && content[end - 1] == '\r') {
            --end;
        }
        lines.push_back({content.substr(start, end - start), content.substr(end, newline + 1 - end)});
        start = newline + 1;
    }
    return lines;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::string_view> SectionOf(std::string_view line)
{
    const auto text = Trim(line);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    auto name = text.substr(1);
    const auto close = name.find(']');
    if (close != std::string_view::npos) {
        name = name.substr(0, close);
    }
    return Trim(name);
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

std::optional<Entry> EntryOf(std::string_view line)
{
    const auto text = Trim(line);
    if (text.empty() || text.front() == ';' || text.front() == '[') {
        return std::nullopt;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const auto key = Trim(text.substr(0, equals));
    if (key.empty()) {
        return std::nullopt;
    }
    return Entry{key, Trim(text.substr(equals + 1))};
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

bool IsQuoted(std::string_view value)
{
    return value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
}

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

size_t CountCharacters(std::string_view text)
{
    size_t count = 0;
    for (const char c : text) {
        count += IsContinuationByte(c) ? 0 : 1;
    }
    return count;
}

std::string_view CutToCharacters(std::string_view text, size_t maxCharacters)
{
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsContinuationByte(text[i])) {
            if (count == maxCharacters) {
                return text.substr(0, i);
            }
            ++count;
        }
    }
    return text;
}

bool HasLineBreakOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Where a section and a key sit in a parsed file.
struct Position {
    std::optional<size_t> header;     // line of the first section of the name
    std::optional<size_t> key;        // line of the key in that section
    std::optional<size_t> lastEntry;  // last key line of that section
};

Position Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key)
{
    Position position;
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionOf(lines[i].text)) {
            if (inSection) {
                break;
            }
            inSection = EqualsNoCase(*name, section);
            if (inSection) {
                position.header = i;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (const auto entry = EntryOf(lines[i].text)) {
            position.lastEntry = i;
            if (!position.key && EqualsNoCase(entry->key, key)) {
                position.key = i;
            }
        }
    }
    return position;
}

std::mutex& WriteMutex()
{
    static std::mutex mutex;
    return mutex;
}

}  // namespace

IniFile::IniFile(std::string path, size_t maxValueLength) : path_(std::move(path)), maxValueLength_(maxValueLength)
{
}

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) const
{
    std::string content;
    if (key.empty() || Load(path_, content) != LoadStatus::Loaded) {
        return std::nullopt;
    }
    return ReadFromText(content, section, key, maxValueLength_);
}

std::optional<std::string> IniFile::LoadText(const std::string& path)
{
    std::string content;
    if (Load(path, content) != LoadStatus::Loaded) {
        return std::nullopt;
    }
    return content;
}

std::optional<std::string> IniFile::ReadFromText(std::string_view text, std::string_view section, std::string_view key,
                                                 size_t maxValueLength)
{
    if (key.empty()) {
        return std::nullopt;
    }
    if (text.starts_with(Bom)) {
        text.remove_prefix(Bom.size());
    }
    const auto lines = SplitLines(text);
    const auto position = Locate(lines, section, key);
    if (!position.key) {
        return std::nullopt;
    }
    auto value = EntryOf(lines[*position.key].text)->value;
    if (IsQuoted(value)) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(CutToCharacters(value, maxValueLength));
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    auto value = Read(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

int IniFile::ReadInt(std::string_view section, std::string_view key, int fallback) const
{
    const auto value = Read(section, key);
    if (!value) {
        return fallback;
    }
    std::string_view text(*value);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int64_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        number = number * 10 + (c - '0');
        if (number > static_cast<int64_t>(INT_MAX) + 1) {
            number = static_cast<int64_t>(INT_MAX) + 1;
        }
    }
    if (negative) {
        number = -number;
    }
    if (number > INT_MAX) {
        number = INT_MAX;
    }
    return static_cast<int>(number);
}

namespace {

// The ending of a last line that gets a line after it: a lone carriage
// return becomes "\r\n", so the line reads as it did.
std::string_view Completed(std::string_view ending, std::string_view newline)
{
    return ending == "\r" ? std::string_view("\r\n") : newline;
}

// One value set in the file's text, every other line kept as it was.
std::string SetInText(std::string_view text, std::string_view section, std::string_view key, const std::string& stored)
{
    std::string output;
    if (text.starts_with(Bom)) {
        output.append(Bom);
        text.remove_prefix(Bom.size());
    }
    const auto lines = SplitLines(text);
    std::string_view newline = "\n";
    const auto endsLine = [](const Line& line) { return line.ending.ends_with('\n'); };
    for (const auto& line : lines) {
        if (endsLine(line)) {
            newline = line.ending;
            break;
        }
    }

    const auto position = Locate(lines, section, key);
    const auto appendLine = [&output](std::string_view lineText, std::string_view ending) {
        output.append(lineText);
        output.append(ending);
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto& line = lines[i];
        if (position.key && i == *position.key) {
            appendLine(std::string(EntryOf(line.text)->key) + "=" + stored, line.ending);
            continue;
        }
        const bool insertAfter = !position.key && position.header && i == position.lastEntry.value_or(*position.header);
        appendLine(line.text, insertAfter && !endsLine(line) ? Completed(line.ending, newline) : line.ending);
        if (insertAfter) {
            appendLine(std::string(key) + "=" + stored, newline);
        }
    }
    if (!position.header) {
        if (!lines.empty() && !endsLine(lines.back())) {
            output.resize(output.size() - lines.back().ending.size());
            output.append(Completed(lines.back().ending, newline));
        }
        appendLine("[" + std::string(section) + "]", newline);
        appendLine(std::string(key) + "=" + stored, newline);
    }
    return output;
}

}  // namespace

bool IniFile::Write(std::string_view section, std::string_view key, std::string_view value)
{
    const std::pair<std::string_view, std::string_view> entry{key, value};
    return WriteMany(section, std::span(&entry, 1));
}

bool IniFile::WriteMany(std::string_view section,
                        std::span<const std::pair<std::string_view, std::string_view>> entries)
{
    // Checked before the file is read, so that a value that cannot be
    // stored fails the same way whatever the file holds.
    if (!WriteToText({}, section, entries, maxValueLength_)) {
        return false;
    }
    const std::lock_guard lock(WriteMutex());
    std::string content;
    if (Load(path_, content) == LoadStatus::Unreadable) {
        return false;
    }
    const auto written = WriteToText(content, section, entries, maxValueLength_);
    return written && AtomicFile::Write(path_, *written);
}

std::optional<std::string> IniFile::WriteToText(std::string_view text, std::string_view section,
                                                std::span<const std::pair<std::string_view, std::string_view>> entries,
                                                size_t maxValueLength)
{
    // Names and values must read back exactly as they were written.
    if (section.empty() || Trim(section) != section || HasLineBreakOrNul(section) ||
        section.find(']') != std::string_view::npos) {
        return std::nullopt;
    }
    std::vector<std::string> stored;
    for (const auto& [key, value] : entries) {
        if (key.empty() || Trim(key) != key || HasLineBreakOrNul(key) || key.find('=') != std::string_view::npos ||
            key.front() == '[' || key.front() == ';') {
            return std::nullopt;
        }
        if (HasLineBreakOrNul(value) || CountCharacters(value) > maxValueLength) {
            return std::nullopt;
        }
        stored.emplace_back(value);
        if (Trim(value) != value || IsQuoted(value)) {
            stored.back() = "\"" + stored.back() + "\"";
        }
    }
    std::string content(text);
    for (size_t i = 0; i < entries.size(); ++i) {
        content = SetInText(content, section, entries[i].first, stored[i]);
    }
    return content;
}

}  // namespace trevolin::base
