#pragma once

#include <string>
#include <string_view>

namespace trevolin::skin {

// Every skin picture also comes drawn at twice its size for screens with a
// device pixel ratio above 1, named with "@2x" before the extension:
// "main_normal.jpg" and "main_normal@2x.jpg".
std::string DoubleSizePictureName(std::string_view name);

// Whether a screen of this device pixel ratio uses the double-size set.
bool UsesDoubleSize(double devicePixelRatio);

}  // namespace trevolin::skin
