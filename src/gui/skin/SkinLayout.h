#pragma once

#include "gui/skin/CPngButton.h"

#include "core/skin/SkinIni.h"

#include <QPixmap>
#include <QWidget>

#include <string_view>

namespace trevolin::gui {

// The layout reader: each control's rectangle comes from a key of the
// window's skin ini ("x,y,w,h"). A missing key reads as (1, 1, 1, 1); an
// image button placed at (1, 1) is one the skin does not use, and it is
// disabled. A malformed value reads as missing, and the reading says so
// (status Malformed) for the window to report.
class SkinLayout {
public:
    // Moves the control; its size becomes the rectangle's.
    static skin::SkinRectReading PlaceControl(QWidget& control, const skin::SkinIni& ini, std::string_view section,
                                              std::string_view key);

    // Also gives the button its five sources with the face origin at the
    // rectangle's corner.
    static skin::SkinRectReading PlaceImageButton(CPngButton& button, const skin::SkinIni& ini,
                                                  std::string_view section, std::string_view key,
                                                  const CPngButton::Sources& sources);

    // The rectangle from one key, the face origin from another (only its x
    // and y count), one source for all five states.
    static skin::SkinRectReading PlaceButtonWithFaceKey(CPngButton& button, const skin::SkinIni& ini,
                                                        std::string_view section, std::string_view key,
                                                        std::string_view faceSection, std::string_view faceKey,
                                                        const QPixmap& source);
};

}  // namespace trevolin::gui
