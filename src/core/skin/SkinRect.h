#pragma once

#include <string_view>

namespace trevolin::skin {

// A control's place in a window, as a skin ini gives it: left, top, width
// and height in pixels of the window's client area.
struct SkinRect {
    int x = 1;
    int y = 1;
    int w = 1;
    int h = 1;

    bool operator==(const SkinRect&) const = default;
};

// What a missing key reads as; an image button placed at (1, 1) is one the
// skin does not use, and it is disabled.
inline constexpr SkinRect UnusedSkinRect{1, 1, 1, 1};
inline constexpr std::string_view UnusedSkinRectText = "1,1,1,1,x";

// Skins are edited by hand: nothing beyond this reaches a widget.
inline constexpr int MaxSkinCoordinate = 16384;

enum class SkinRectStatus { Ok, Missing, Malformed };

struct SkinRectReading {
    SkinRect rect;
    SkinRectStatus status = SkinRectStatus::Ok;
};

// "x,y,w,h" as four decimal integers (blanks before each number allowed,
// anything after the fourth ignored, so the default "1,1,1,1,x" reads as
// (1, 1, 1, 1)). Fewer than four numbers, a number out of range or a
// negative size is Malformed and reads as the unused rectangle.
SkinRectReading ParseSkinRect(std::string_view text);

// The button at (1, 1) is one the skin leaves out.
bool IsUnusedPlace(const SkinRect& rect);

}  // namespace trevolin::skin
