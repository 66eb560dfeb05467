#include "gui/tray/TraySurface.h"

namespace trevolin::gui {

SystemTraySurface::SystemTraySurface(QObject* parent) : TraySurface(parent)
{
    connect(&icon_, &QSystemTrayIcon::activated, this, &TraySurface::Activated);
}

}  // namespace trevolin::gui
