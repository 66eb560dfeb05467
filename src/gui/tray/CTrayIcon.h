#pragma once

#include "core/base/TextLookup.h"
#include "gui/tray/TraySurface.h"

#include <QMenu>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>

namespace trevolin::gui {

// The program in the notification area: its picture says whether a
// keyboard is attached (128 none, 141 attached, 142 the keyboard's
// alternate state), its menu offers Open, About and Exit in the user's
// language, a double click opens the window, and so does a single click
// where the tray reports no double clicks (a StatusNotifierItem host).
class CTrayIcon final : public QObject {
    Q_OBJECT
public:
    static constexpr uint32_t OpenCommand = 32771;
    static constexpr uint32_t AboutCommand = 32773;
    static constexpr uint32_t ExitCommand = 32774;

    // `skinFolder` holds the pictures "tray_128.png" and so on; `command`
    // hears the menu's and the clicks' commands.
    CTrayIcon(std::unique_ptr<TraySurface> surface, const base::TextLookup& texts, QString skinFolder,
              std::function<void(uint32_t command)> command, QObject* parent = nullptr);
    ~CTrayIcon() override;

    // Shows the icon with picture 128 and the tip "KEYBOARD_TRAY_DESC".
    // False where the desktop has no tray: nothing is shown then.
    bool AddTrayIcon();
    void RemoveTrayIcon();
    bool Created() const { return created_; }
    // Picture `id`; nothing happens for the picture shown already.
    void SetTrayIcon(int id);
    int CurrentIcon() const { return current_; }
    // The menu's texts in the current language.
    void Relabel();
    // `tip` as the icon's tooltip; empty: the usual one.
    void SetTip(const QString& tip);
    // A notification beside the icon; false when there is no icon.
    bool Notify(const QString& text);
    QMenu& Menu() { return menu_; }

private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    QIcon Picture(int id);

    std::unique_ptr<TraySurface> surface_;
    const base::TextLookup& texts_;
    QString skinFolder_;
    std::function<void(uint32_t)> command_;
    QMenu menu_;
    QAction* open_ = nullptr;
    QAction* about_ = nullptr;
    QAction* exit_ = nullptr;
    bool created_ = false;
    int current_ = 0;
    QString tip_;
    // Read from disk once each.
    std::map<int, QIcon> pictures_;
};

}  // namespace trevolin::gui
