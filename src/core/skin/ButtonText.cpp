#include "core/skin/ButtonText.h"

#include <cmath>
#include <numbers>

namespace trevolin::skin {

namespace {
constexpr int DtCenter = 0x1;
constexpr int DtRight = 0x2;
constexpr int DtVCenter = 0x4;
constexpr int DtBottom = 0x8;
constexpr int DtWordBreak = 0x10;
constexpr int DtSingleLine = 0x20;
}  // namespace

ButtonTextAlignment AlignmentOfDrawFormat(int format)
{
    ButtonTextAlignment alignment;
    if (format & DtCenter) {
        alignment.horizontal = ButtonTextAlignment::Horizontal::Centre;
    } else if (format & DtRight) {
        alignment.horizontal = ButtonTextAlignment::Horizontal::Right;
    }
    alignment.singleLine = (format & DtSingleLine) != 0;
    alignment.wordBreak = !alignment.singleLine && (format & DtWordBreak) != 0;
    // Vertical placement only works on a single line.
    if (alignment.singleLine) {
        if (format & DtBottom) {
            alignment.vertical = ButtonTextAlignment::Vertical::Bottom;
        } else if (format & DtVCenter) {
            alignment.vertical = ButtonTextAlignment::Vertical::Centre;
        }
    }
    return alignment;
}

SkinRect RotatedTextBox(const SkinRect& box, int textWidth, int textHeight, int escapement)
{
    const double angle = escapement / 10.0 * std::numbers::pi / 180.0;
    const double sine = std::sin(angle);
    const double cosine = std::cos(angle);
    const int horizontalExtent = static_cast<int>(textWidth * cosine);
    const int verticalExtent = static_cast<int>(textWidth * sine);
    SkinRect result = box;
    if (horizontalExtent < box.w) {
        const int shift = (box.w - horizontalExtent) / 2 - static_cast<int>(textHeight * sine / 2);
        result.x += shift;
        result.w -= shift;
    }
    if (verticalExtent < box.h) {
        const int lift = (box.h - verticalExtent) / 2 - static_cast<int>(textHeight * cosine / 2);
        result.h -= lift;
    }
    return result;
}

}  // namespace trevolin::skin
