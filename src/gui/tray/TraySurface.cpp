#include "gui/tray/TraySurface.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace trevolin::gui {

SystemTraySurface::SystemTraySurface(QObject* parent) : TraySurface(parent)
{
    connect(&icon_, &QSystemTrayIcon::activated, this, &TraySurface::Activated);
}

bool SystemTraySurface::ReportsDoubleClicks() const
{
    // Qt shows the icon as a StatusNotifierItem whenever a watcher runs on
    // the session bus; such a host activates on one click.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return true;
    return !bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")).value();
}

}  // namespace trevolin::gui
