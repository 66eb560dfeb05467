#include "core/lighting/ColourText.h"

#include <fmt/format.h>

#include <algorithm>
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

}  // namespace trevolin::lighting
