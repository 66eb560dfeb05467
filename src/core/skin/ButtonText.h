#pragma once

#include "core/skin/SkinRect.h"

namespace trevolin::skin {

// Where an image button's text goes, from the drawing format the windows
// pass (the values of the Windows DT_ flags the skins were made for:
// 37 centres a single line, 40 puts it at the bottom).
struct ButtonTextAlignment {
    enum class Horizontal { Left, Centre, Right };
    enum class Vertical { Top, Centre, Bottom };
    Horizontal horizontal = Horizontal::Left;
    Vertical vertical = Vertical::Top;
    bool singleLine = false;
    bool wordBreak = false;

    bool operator==(const ButtonTextAlignment&) const = default;
};

inline constexpr int DefaultDrawFormat = 37;

ButtonTextAlignment AlignmentOfDrawFormat(int format);

// The box a rotated text is drawn in: with a = escapement / 10 degrees and
// the text's unrotated width and height, the box's left edge moves right
// and its bottom edge up so that the rotated text sits centred in `box`.
// Every step truncates to whole pixels, as the skins expect.
SkinRect RotatedTextBox(const SkinRect& box, int textWidth, int textHeight, int escapement);

}  // namespace trevolin::skin
