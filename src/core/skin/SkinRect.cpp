#include "core/skin/SkinRect.h"

#include <array>
#include <cstdint>

namespace trevolin::skin {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// One "%d": blanks, an optional sign, at least one digit. Digits past the
// limit fail instead of wrapping.
bool ReadNumber(std::string_view text, size_t& at, int& value)
{
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    const size_t digitsStart = at;
    int64_t magnitude = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude > MaxSkinCoordinate) {
            return false;
        }
        ++at;
    }
    if (at == digitsStart) {
        return false;
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

}  // namespace

SkinRectReading ParseSkinRect(std::string_view text)
{
    std::array<int, 4> numbers{};
    size_t at = 0;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            if (at >= text.size() || text[at] != ',') {
                return {UnusedSkinRect, SkinRectStatus::Malformed};
            }
            ++at;
        }
        if (!ReadNumber(text, at, numbers[i])) {
            return {UnusedSkinRect, SkinRectStatus::Malformed};
        }
    }
    const SkinRect rect{numbers[0], numbers[1], numbers[2], numbers[3]};
    if (rect.w < 0 || rect.h < 0) {
        return {UnusedSkinRect, SkinRectStatus::Malformed};
    }
    return {rect, SkinRectStatus::Ok};
}

bool IsUnusedPlace(const SkinRect& rect)
{
    return rect.x == 1 && rect.y == 1;
}

}  // namespace trevolin::skin
