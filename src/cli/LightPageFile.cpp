#include "cli/LightPageFile.h"

#include "cli/LightArguments.h"
#include "core/base/PlainText.h"
#include "core/keyboard/KeyByName.h"

#include <fmt/format.h>

#include <filesystem>
#include <fstream>
#include <system_error>

namespace trevolin::cli {

namespace {

// A colour may start with '#' itself; a comment is a '#' after a blank.
std::string_view WithoutComment(std::string_view colourText)
{
    for (size_t i = 1; i < colourText.size(); ++i) {
        if (colourText[i] == '#' && base::IsBlank(colourText[i - 1]))
            return base::TrimBlanks(colourText.substr(0, i));
    }
    return colourText;
}

}  // namespace

LightPageFile::Loaded LightPageFile::Read(const std::string& path)
{
    Loaded loaded;
    std::error_code error;
    std::ifstream in;
    if (std::filesystem::is_regular_file(path, error))
        in.open(path, std::ios::binary);
    if (error || !in.is_open()) {
        loaded.problem = ReadProblem::Unreadable;
        return loaded;
    }
    // One byte more than allowed tells a file that is too large, whatever
    // its size said a moment ago.
    loaded.content.resize(MaxSize + 1);
    in.read(loaded.content.data(), static_cast<std::streamsize>(loaded.content.size()));
    if (in.bad()) {
        loaded.problem = ReadProblem::Unreadable;
        loaded.content.clear();
        return loaded;
    }
    loaded.content.resize(static_cast<size_t>(in.gcount()));
    if (loaded.content.size() > MaxSize) {
        loaded.problem = ReadProblem::TooLarge;
        loaded.content.clear();
    }
    return loaded;
}

LightPageFile::Parsed LightPageFile::Parse(std::string_view content)
{
    Parsed parsed;
    content = base::WithoutByteOrderMark(content);
    size_t lineNumber = 0;
    while (!content.empty()) {
        ++lineNumber;
        const size_t end = content.find('\n');
        const std::string_view line = base::TrimBlanks(content.substr(0, end));
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;

        const size_t gap = line.find_first_of(" \t");
        const std::string_view name = line.substr(0, gap);
        const std::string_view colourText =
            gap == std::string_view::npos ? std::string_view() : WithoutComment(base::TrimBlanks(line.substr(gap)));
        if (colourText.empty()) {
            parsed.error =
                fmt::format("line {}: a key name and a colour are expected, as in \"Esc 255,0,0\"", lineNumber);
            return parsed;
        }
        const auto colour = ParseColour(colourText);
        if (!colour) {
            parsed.error =
                fmt::format("line {}: \"{}\" is not a colour; expected {}", lineNumber, colourText, ColourExpected);
            return parsed;
        }
        if (name == "*") {
            for (const keyboard::NamedKey& named : keyboard::KeyNameTable()) {
                const auto key = keyboard::FindKeyButton(named.controlId);
                if (key && keyboard::HasLight(keyboard::LightPositionOf(*key)))
                    parsed.entries.push_back({*key, *colour});
            }
            continue;
        }
        const auto key = keyboard::KeyByName(name);
        if (!key) {
            parsed.error = fmt::format("line {}: \"{}\" is not a key name; the key names are {}", lineNumber, name,
                                       keyboard::KeyNameListText());
            return parsed;
        }
        if (!keyboard::HasLight(keyboard::LightPositionOf(*key))) {
            parsed.error = fmt::format("line {}: {} has no light of its own, so it takes no colour", lineNumber,
                                       keyboard::NameOfKey(*key));
            return parsed;
        }
        parsed.entries.push_back({*key, *colour});
    }
    return parsed;
}

std::string LightPageFile::Text(const lighting::ColourPage& page)
{
    std::string text;
    for (const keyboard::NamedKey& named : keyboard::KeyNameTable()) {
        const auto key = keyboard::FindKeyButton(named.controlId);
        if (!key)
            continue;
        const uint8_t light = keyboard::LightPositionOf(*key);
        if (keyboard::HasLight(light))
            text += fmt::format("{:<13}{}\n", named.name, ColourNumbers(page.At(light)));
    }
    return text;
}

}  // namespace trevolin::cli
