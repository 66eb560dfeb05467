#include "core/base/FormatText.h"

#include <limits>
#include <optional>

namespace trevolin::base {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a decimal number at `pos`; nullopt past `limit` (the digits are
// still consumed, so a long run cannot overflow).
std::optional<size_t> ReadNumber(std::string_view text, size_t& pos, size_t limit)
{
    size_t value = 0;
    bool tooLarge = false;
    while (pos < text.size() && IsDigit(text[pos])) {
        value = value * 10 + static_cast<size_t>(text[pos] - '0');
        if (value > limit) {
            tooLarge = true;
            value = limit + 1;
        }
        ++pos;
    }
    if (tooLarge) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

bool FormatFits(std::string_view format, std::span<const FormatArgKind> kinds)
{
    size_t nextArgument = 0;
    bool positional = false;
    bool sequential = false;
    size_t pos = 0;
    while (pos < format.size()) {
        if (format[pos] != '%') {
            ++pos;
            continue;
        }
        ++pos;
        if (pos >= format.size()) {
            return false;
        }
        if (format[pos] == '%') {
            ++pos;
            continue;
        }

        // "%N$": the argument by position.
        std::optional<size_t> argument;
        const size_t start = pos;
        if (IsDigit(format[pos]) && format[pos] != '0') {
            const auto number = ReadNumber(format, pos, kinds.size());
            if (pos < format.size() && format[pos] == '$') {
                if (!number || *number == 0) {
                    return false;
                }
                argument = *number - 1;
                ++pos;
            } else {
                pos = start;
            }
        }
        if (argument) {
            positional = true;
        } else {
            sequential = true;
            argument = nextArgument++;
            // fmt reads the digits that open a conversion, zero flags and
            // width together, as one int and refuses the conversion when they
            // are too many for one, however many of them are zeros.
            size_t digits = 0;
            while (pos + digits < format.size() && IsDigit(format[pos + digits])) {
                ++digits;
            }
            if (digits > static_cast<size_t>(std::numeric_limits<int>::digits10)) {
                return false;
            }
        }
        if (positional && sequential) {
            return false;
        }

        while (pos < format.size() && std::string_view("-+ #0").find(format[pos]) != std::string_view::npos) {
            ++pos;
        }
        if (pos < format.size() && format[pos] == '*') {
            return false;
        }
        if (!ReadNumber(format, pos, MaxFieldWidth)) {
            return false;
        }
        if (pos < format.size() && format[pos] == '.') {
            ++pos;
            if (pos < format.size() && format[pos] == '*') {
                return false;
            }
            if (!ReadNumber(format, pos, MaxFieldWidth)) {
                return false;
            }
        }

        bool lengthModifier = false;
        for (const std::string_view modifier : {"hh", "ll", "h", "l", "z", "j", "t"}) {
            if (format.substr(pos).starts_with(modifier)) {
                pos += modifier.size();
                lengthModifier = true;
                break;
            }
        }
        if (pos >= format.size()) {
            return false;
        }
        const char conversion = format[pos++];
        if (*argument >= kinds.size()) {
            return false;
        }
        const auto kind = kinds[*argument];
        if (std::string_view("diuxXo").find(conversion) != std::string_view::npos) {
            if (kind != FormatArgKind::Integer) {
                return false;
            }
        } else if (conversion == 's') {
            if (kind != FormatArgKind::Text || lengthModifier) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace trevolin::base
