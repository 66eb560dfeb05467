#include "core/macros/MacroFile.h"

#include "core/base/AtomicFile.h"
#include "core/base/PlainText.h"
#include "core/macros/MacroEventSpec.h"
#include "core/macros/MacroNameRule.h"
#include "core/macros/MacroText.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <system_error>

namespace trevolin::macros {

namespace {

// For "KEY = value" lines: the value when `line` sets `key`.
std::optional<std::string_view> SettingValue(std::string_view line, std::string_view key)
{
    if (line.substr(0, key.size()) != key)
        return std::nullopt;
    const std::string_view rest = base::TrimBlanks(line.substr(key.size()));
    if (rest.empty() || rest.front() != '=')
        return std::nullopt;
    return base::TrimBlanks(rest.substr(1));
}

MacroFile::Parsed Fail(size_t line, std::string error)
{
    MacroFile::Parsed parsed;
    parsed.line = line;
    parsed.error = std::move(error);
    return parsed;
}

}  // namespace

MacroFile::Parsed MacroFile::Parse(std::string_view text)
{
    text = base::WithoutByteOrderMark(text);
    Macro macro;
    bool named = false;
    bool repeated = false;
    size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        const std::string_view line = base::TrimBlanks(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;

        if (const auto value = SettingValue(line, "name")) {
            if (named)
                return Fail(lineNumber, "the name is given twice");
            const std::u16string name = Utf8ToUtf16(*value);
            if (std::string problem = MacroNameProblem(name); !problem.empty())
                return Fail(lineNumber, problem);
            macro.name = name;
            named = true;
            continue;
        }
        if (const auto value = SettingValue(line, "repeat")) {
            if (repeated)
                return Fail(lineNumber, "the repeat count is given twice");
            unsigned count = 0;
            const auto [at, ec] = std::from_chars(value->data(), value->data() + value->size(), count);
            if (value->empty() || ec != std::errc() || at != value->data() + value->size() || count < 1 || count > 255)
                return Fail(lineNumber, "the repeat count is 1 to 255, not \"" + std::string(*value) + "\"");
            macro.playCount = static_cast<uint8_t>(count);
            repeated = true;
            continue;
        }
        if (line.find('=') < line.find('#'))
            return Fail(lineNumber, "only \"name =\" and \"repeat =\" can be set, not \"" +
                                        std::string(base::TrimBlanks(line.substr(0, line.find('=')))) + "\"");

        std::string_view events = base::TrimBlanks(line.substr(0, line.find('#')));
        while (!events.empty()) {
            const size_t gap = events.find_first_of(" \t");
            const std::string_view word = events.substr(0, gap);
            events = base::TrimBlanks(gap == std::string_view::npos ? std::string_view() : events.substr(gap));
            const auto parsed = ParseMacroEventSpec(word);
            if (!parsed.event)
                return Fail(lineNumber, parsed.error);
            if (macro.events.size() == Macro::MaxEvents)
                return Fail(lineNumber, "a macro holds at most " + std::to_string(Macro::MaxEvents) + " events");
            macro.events.push_back(*parsed.event);
        }
    }
    if (!named)
        return Fail(0, "the file has no \"name = ...\" line");
    if (macro.events.empty())
        return Fail(0, "the file holds no events");
    Parsed parsed;
    parsed.macro = std::move(macro);
    return parsed;
}

MacroFile::Formatted MacroFile::Format(const Macro& macro)
{
    Formatted out;
    std::string text = "# A Trevolin macro. Events are KEY:down|up:DELAY_MS, in playing order.\n";
    text += "name = " + Utf16ToUtf8(macro.name) + "\n";
    text += "repeat = " + std::to_string(macro.playCount) + "\n";
    for (size_t i = 0; i < macro.events.size(); ++i) {
        // A keyboard written by other software may hold a longer pause than
        // an event can name; the file would not read back.
        if (macro.events[i].delayMs > MaxEventDelayMs) {
            out.error = "event " + std::to_string(i + 1) + " waits " + std::to_string(macro.events[i].delayMs) +
                        " ms, more than the " + std::to_string(MaxEventDelayMs) + " a macro file can hold";
            return out;
        }
        const std::string event = FormatMacroEventSpec(macro.events[i]);
        if (event.empty()) {
            out.error = "event " + std::to_string(i + 1) + " plays key code " +
                        std::to_string(macro.events[i].keyCode) + ", which has no name a macro file can hold";
            return out;
        }
        text += event + "\n";
    }
    out.text = std::move(text);
    return out;
}

bool MacroFile::Read(const std::string& path, std::string& content, std::string& error)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "it is a folder";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        error = std::strerror(errno);
        if (!error.empty())
            error[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(error[0])));
        return false;
    }
    // One byte more than allowed tells a file that is too large.
    content.resize(MaxSize + 1);
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (in.bad()) {
        error = "it could not be read";
        return false;
    }
    content.resize(static_cast<size_t>(in.gcount()));
    if (content.size() > MaxSize) {
        error = "it is larger than " + std::to_string(MaxSize) + " bytes";
        return false;
    }
    return true;
}

bool MacroFile::Write(const std::string& path, std::string_view content)
{
    return base::AtomicFile::Write(path, content);
}

}  // namespace trevolin::macros
