#include "core/base/PlainText.h"

namespace trevolin::base {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view WithoutByteOrderMark(std::string_view text)
{
    if (text.starts_with(Utf8ByteOrderMark))
        text.remove_prefix(Utf8ByteOrderMark.size());
    return text;
}

std::optional<int> ParseWholeNumber(std::string_view text, int min, int max)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

}  // namespace trevolin::base
