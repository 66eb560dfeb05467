#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

namespace trevolin::gui {

// The desktop's notification area as the tray icon uses it: the system
// tray, or a stand-in for tests (an offscreen session has no tray).
class TraySurface : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool Available() const = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void SetIcon(const QIcon& icon) = 0;
    virtual void SetToolTip(const QString& tip) = 0;
    virtual void SetMenu(QMenu* menu) = 0;
    // A notification beside the icon.
    virtual void ShowMessage(const QString& title, const QString& text) = 0;
    // Whether a double click reaches the program. A StatusNotifierItem
    // host reports only single clicks (activation).
    virtual bool ReportsDoubleClicks() const { return true; }

signals:
    void Activated(QSystemTrayIcon::ActivationReason reason);
};

// The real one.
class SystemTraySurface final : public TraySurface {
    Q_OBJECT
public:
    explicit SystemTraySurface(QObject* parent = nullptr);

    bool Available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    void Show() override { icon_.show(); }
    void Hide() override { icon_.hide(); }
    void SetIcon(const QIcon& icon) override { icon_.setIcon(icon); }
    void SetToolTip(const QString& tip) override { icon_.setToolTip(tip); }
    void SetMenu(QMenu* menu) override { icon_.setContextMenu(menu); }
    void ShowMessage(const QString& title, const QString& text) override
    {
        icon_.showMessage(title, text, QSystemTrayIcon::Warning);
    }
    bool ReportsDoubleClicks() const override;

private:
    QSystemTrayIcon icon_;
};

}  // namespace trevolin::gui
