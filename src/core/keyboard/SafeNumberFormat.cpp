#include "core/keyboard/SafeNumberFormat.h"

#include <charconv>
#include <optional>

namespace trevolin::keyboard {
namespace {

struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    bool alternate = false;
    char signChar = 0;  // '+' or ' ' for d and i
    size_t width = 0;
    std::optional<size_t> precision;
    char type = 'u';
    size_t end = 0;  // index just past the conversion
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

size_t ReadCount(std::string_view text, size_t& i)
{
    size_t count = 0;
    while (i < text.size() && IsDigit(text[i])) {
        count = count * 10 + static_cast<size_t>(text[i] - '0');
        if (count > MaxFieldWidth)
            count = MaxFieldWidth;
        ++i;
    }
    return count;
}

void SkipLengthModifier(std::string_view text, size_t& i)
{
    for (std::string_view modifier : {"I64", "I32", "hh", "ll", "h", "l", "j", "z", "t", "I"}) {
        if (text.substr(i).starts_with(modifier)) {
            i += modifier.size();
            return;
        }
    }
}

// Parses the conversion starting at the '%' at text[start]; nothing when it
// is not an integer conversion this function can fill.
std::optional<Conversion> ParseConversion(std::string_view text, size_t start)
{
    Conversion c;
    size_t i = start + 1;
    for (; i < text.size(); ++i) {
        const char flag = text[i];
        if (flag == '-')
            c.leftAlign = true;
        else if (flag == '0')
            c.zeroPad = true;
        else if (flag == '#')
            c.alternate = true;
        else if (flag == '+')
            c.signChar = '+';
        else if (flag == ' ')
            c.signChar = c.signChar == '+' ? '+' : ' ';
        else
            break;
    }
    c.width = ReadCount(text, i);
    if (i < text.size() && text[i] == '.') {
        ++i;
        c.precision = ReadCount(text, i);
    }
    SkipLengthModifier(text, i);
    if (i >= text.size())
        return std::nullopt;
    switch (text[i]) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        c.type = text[i];
        c.end = i + 1;
        return c;
    default:
        return std::nullopt;
    }
}

std::string Render(const Conversion& c, uint32_t value)
{
    const int base = (c.type == 'x' || c.type == 'X') ? 16 : c.type == 'o' ? 8 : 10;
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, base);
    std::string digits(buffer, result.ptr);
    if (c.type == 'X') {
        for (char& ch : digits)
            if (ch >= 'a' && ch <= 'f')
                ch = static_cast<char>(ch - 'a' + 'A');
    }
    if (c.precision) {
        if (*c.precision == 0 && value == 0)
            digits.clear();
        if (digits.size() < *c.precision)
            digits.insert(0, *c.precision - digits.size(), '0');
    }

    std::string prefix;
    if ((c.type == 'd' || c.type == 'i') && c.signChar != 0)
        prefix = c.signChar;
    else if (c.alternate && c.type == 'o' && (digits.empty() || digits.front() != '0'))
        prefix = "0";
    else if (c.alternate && value != 0 && c.type == 'x')
        prefix = "0x";
    else if (c.alternate && value != 0 && c.type == 'X')
        prefix = "0X";

    const size_t length = prefix.size() + digits.size();
    if (length >= c.width)
        return prefix + digits;
    const size_t padding = c.width - length;
    if (c.leftAlign)
        return prefix + digits + std::string(padding, ' ');
    if (c.zeroPad && !c.precision)
        return prefix + std::string(padding, '0') + digits;
    return std::string(padding, ' ') + prefix + digits;
}

}  // namespace

std::string SubstituteUnsigned(std::string_view format, uint32_t value)
{
    std::string out;
    bool substituted = false;
    size_t i = 0;
    while (i < format.size()) {
        if (format[i] != '%') {
            out += format[i++];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        const std::optional<Conversion> conversion = substituted ? std::nullopt : ParseConversion(format, i);
        if (!conversion) {
            out += format[i++];
            continue;
        }
        out += Render(*conversion, value);
        substituted = true;
        i = conversion->end;
    }
    return out;
}

}  // namespace trevolin::keyboard
