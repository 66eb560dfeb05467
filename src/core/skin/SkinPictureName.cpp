#include "core/skin/SkinPictureName.h"

namespace trevolin::skin {

std::string DoubleSizePictureName(std::string_view name)
{
    const auto slash = name.rfind('/');
    const auto dot = name.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    const size_t at = hasExtension ? dot : name.size();
    std::string result(name.substr(0, at));
    result += "@2x";
    result += name.substr(at);
    return result;
}

bool UsesDoubleSize(double devicePixelRatio)
{
    return devicePixelRatio > 1.0;
}

}  // namespace trevolin::skin
