#pragma once

class QApplication;

namespace trevolin::gui {

// One look for everything the program shows besides its skinned windows:
// menus, message boxes, file and colour dialogs take Qt's Fusion style with
// the skin's colours, so no light grey system box opens over the dark
// window.
void ApplyDarkStyle(QApplication& application);

}  // namespace trevolin::gui
