#include "gui/skin/SkinLayout.h"

#include <cstdio>

namespace trevolin::gui {

namespace {

void WarnIfMalformed(const skin::SkinRectReading& reading, const skin::SkinIni& ini, std::string_view section,
                     std::string_view key)
{
    if (reading.status == skin::SkinRectStatus::Malformed) {
        std::fprintf(stderr, "trevolin: %s: [%.*s] %.*s is not \"x,y,w,h\"; the control is left out\n",
                     ini.Path().c_str(), static_cast<int>(section.size()), section.data(), static_cast<int>(key.size()),
                     key.data());
    }
}

void Move(QWidget& control, const skin::SkinRect& rect)
{
    control.setGeometry(rect.x, rect.y, rect.w, rect.h);
}

}  // namespace

skin::SkinRectReading SkinLayout::PlaceControl(QWidget& control, const skin::SkinIni& ini, std::string_view section,
                                               std::string_view key)
{
    const auto reading = ini.Rect(section, key);
    WarnIfMalformed(reading, ini, section, key);
    Move(control, reading.rect);
    return reading;
}

skin::SkinRectReading SkinLayout::PlaceImageButton(CPngButton& button, const skin::SkinIni& ini,
                                                   std::string_view section, std::string_view key,
                                                   const CPngButton::Sources& sources)
{
    const auto reading = PlaceControl(button, ini, section, key);
    button.SetSources(sources, QPoint(reading.rect.x, reading.rect.y));
    if (skin::IsUnusedPlace(reading.rect)) {
        button.setEnabled(false);
    }
    return reading;
}

skin::SkinRectReading SkinLayout::PlaceButtonWithFaceKey(CPngButton& button, const skin::SkinIni& ini,
                                                         std::string_view section, std::string_view key,
                                                         std::string_view faceSection, std::string_view faceKey,
                                                         const QPixmap& source)
{
    const auto reading = PlaceControl(button, ini, section, key);
    const auto face = ini.Rect(faceSection, faceKey);
    WarnIfMalformed(face, ini, faceSection, faceKey);
    button.SetSources({source, source, source, source, source}, QPoint(face.rect.x, face.rect.y));
    return reading;
}

}  // namespace trevolin::gui
