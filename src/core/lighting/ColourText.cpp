#include "core/lighting/ColourText.h"

#include "core/base/PlainText.h"
#include "core/lighting/PanelControls.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace trevolin::lighting {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

// The leading decimal number of `text`, saturated well outside a byte's
// range; nothing when there is none.
std::optional<int64_t> LeadingNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return std::nullopt;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), 1'000'000);
    return negative ? -value : value;
}

// Up to `count` comma-separated numbers, stopping at the first field that
// holds none.
std::vector<int64_t> Numbers(std::string_view text, size_t count)
{
    std::vector<int64_t> numbers;
    while (numbers.size() < count) {
        const size_t comma = text.find(',');
        const auto number = LeadingNumber(text.substr(0, comma));
        if (!number)
            break;
        numbers.push_back(*number);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return numbers;
}

uint8_t ToByte(int64_t value)
{
    return static_cast<uint8_t>(std::clamp<int64_t>(value, 0, 255));
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::optional<uint8_t> HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<uint8_t>(c - '0');
    if (Lower(c) >= 'a' && Lower(c) <= 'f')
        return static_cast<uint8_t>(Lower(c) - 'a' + 10);
    return std::nullopt;
}

// "#rgb" or "#rrggbb" without the '#'.
std::optional<RgbColor> HexColour(std::string_view digits)
{
    if (digits.size() != 3 && digits.size() != 6)
        return std::nullopt;
    const size_t width = digits.size() / 3;
    std::array<uint8_t, 3> bytes{};
    for (size_t i = 0; i < 3; ++i) {
        uint8_t value = 0;
        for (size_t d = 0; d < width; ++d) {
            const auto digit = HexDigit(digits[i * width + d]);
            if (!digit)
                return std::nullopt;
            value = static_cast<uint8_t>(value * 16 + *digit);
        }
        bytes[i] = width == 1 ? static_cast<uint8_t>(value * 17) : value;
    }
    return RgbColor{bytes[0], bytes[1], bytes[2]};
}

// Whole numbers only: no sign, no trailing characters.
std::optional<uint8_t> StrictByte(std::string_view text)
{
    text = base::TrimBlanks(text);
    if (text.size() > 3)
        return std::nullopt;
    const auto value = base::ParseWholeNumber(text, 0, 255);
    if (!value)
        return std::nullopt;
    return static_cast<uint8_t>(*value);
}

std::optional<RgbColor> NumberColour(std::string_view text)
{
    std::array<uint8_t, 3> bytes{};
    for (size_t part = 0; part < bytes.size(); ++part) {
        const size_t comma = text.find(',');
        if ((comma == std::string_view::npos) != (part == bytes.size() - 1))
            return std::nullopt;
        const auto byte = StrictByte(text.substr(0, comma));
        if (!byte)
            return std::nullopt;
        bytes[part] = *byte;
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    }
    return RgbColor{bytes[0], bytes[1], bytes[2]};
}

constexpr std::array<std::string_view, PresetCount> PresetNames = {"orange", "red",   "blue", "green",
                                                                   "yellow", "amber", "pink", "purple"};

}  // namespace

std::string ColourToText(RgbColor colour)
{
    return fmt::format("{},{},{}", colour.red, colour.green, colour.blue);
}

std::string KeyColourToText(const KeyColour& entry)
{
    return fmt::format("{},{},{},{}", entry.colour.red, entry.colour.green, entry.colour.blue,
                       entry.followsBase ? 1 : 0);
}

std::optional<RgbColor> ColourFromText(std::string_view text)
{
    const auto numbers = Numbers(text, 3);
    if (numbers.size() < 3)
        return std::nullopt;
    return RgbColor{ToByte(numbers[0]), ToByte(numbers[1]), ToByte(numbers[2])};
}

std::optional<KeyColour> KeyColourFromText(std::string_view text)
{
    const auto numbers = Numbers(text, 4);
    if (numbers.size() < 3)
        return std::nullopt;
    const bool follows = numbers.size() == 4 && numbers[3] != 0;
    return KeyColour{{ToByte(numbers[0]), ToByte(numbers[1]), ToByte(numbers[2])}, follows};
}

std::span<const NamedColour> ColourNames()
{
    static const std::vector<NamedColour> names = [] {
        std::vector<NamedColour> list;
        for (size_t i = 0; i < PresetCount; ++i)
            list.push_back({PresetNames[i], ColourPresets()[i].colour});
        list.push_back({"white", White});
        list.push_back({"black", RgbColor{0, 0, 0}});
        return list;
    }();
    return names;
}

std::optional<RgbColor> ColourFromUserText(std::string_view text)
{
    text = base::TrimBlanks(text);
    if (!text.empty() && text.front() == '#')
        return HexColour(text.substr(1));
    if (text.find(',') != std::string_view::npos)
        return NumberColour(text);
    for (const NamedColour& named : ColourNames()) {
        if (named.name.size() == text.size() &&
            std::equal(text.begin(), text.end(), named.name.begin(), [](char a, char b) { return Lower(a) == b; }))
            return named.colour;
    }
    return std::nullopt;
}

}  // namespace trevolin::lighting
