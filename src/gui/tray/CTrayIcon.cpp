#include "gui/tray/CTrayIcon.h"

#include "gui/skin/SkinPictures.h"

#include <QFile>
#include <QPixmap>

namespace trevolin::gui {

namespace {

// The tip field of a tray holds 127 characters; a longer text is cut at a
// whole character.
constexpr qsizetype MaxTipLength = 127;

QString Tip(const base::TextLookup& texts)
{
    QString tip = QString::fromStdString(texts.Text("KEYBOARD_TRAY_DESC"));
    if (tip.size() > MaxTipLength) {
        tip.truncate(MaxTipLength);
        if (!tip.isEmpty() && tip.back().isHighSurrogate())
            tip.chop(1);
    }
    return tip;
}

}  // namespace

CTrayIcon::CTrayIcon(std::unique_ptr<TraySurface> surface, const base::TextLookup& texts, QString skinFolder,
                     std::function<void(uint32_t)> command, QObject* parent)
    : QObject(parent),
      surface_(std::move(surface)),
      texts_(texts),
      skinFolder_(std::move(skinFolder)),
      command_(std::move(command))
{
    open_ = menu_.addAction(QString(), this, [this] { command_(OpenCommand); });
    about_ = menu_.addAction(QString(), this, [this] { command_(AboutCommand); });
    exit_ = menu_.addAction(QString(), this, [this] { command_(ExitCommand); });
    QFont bold = open_->font();
    bold.setBold(true);
    open_->setFont(bold);
    menu_.setDefaultAction(open_);
    // The language may have changed since the menu was last shown.
    connect(&menu_, &QMenu::aboutToShow, this, &CTrayIcon::Relabel);
    connect(surface_.get(), &TraySurface::Activated, this, &CTrayIcon::OnActivated);
    Relabel();
}

CTrayIcon::~CTrayIcon()
{
    RemoveTrayIcon();
}

bool CTrayIcon::AddTrayIcon()
{
    if (created_)
        return true;
    if (!surface_->Available())
        return false;
    current_ = 128;
    surface_->SetIcon(Picture(current_));
    surface_->SetToolTip(tip_.isEmpty() ? Tip(texts_) : tip_);
    surface_->SetMenu(&menu_);
    surface_->Show();
    created_ = true;
    return true;
}

void CTrayIcon::RemoveTrayIcon()
{
    if (!created_)
        return;
    surface_->Hide();
    created_ = false;
    current_ = 0;
}

void CTrayIcon::SetTrayIcon(int id)
{
    if (!created_ || id == current_)
        return;
    current_ = id;
    surface_->SetIcon(Picture(id));
}

void CTrayIcon::Relabel()
{
    open_->setText(QString::fromStdString(texts_.Text("MENU_11")));
    about_->setText(QString::fromStdString(texts_.Text("MENU_22")));
    exit_->setText(QString::fromStdString(texts_.Text("MENU_33")));
    if (created_ && tip_.isEmpty())
        surface_->SetToolTip(Tip(texts_));
}

void CTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason)
{
    // A StatusNotifierItem desktop reports only single clicks (Trigger);
    // where double clicks exist, a single one is only a press.
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        command_(OpenCommand);
        break;
    case QSystemTrayIcon::Trigger:
        if (!surface_->ReportsDoubleClicks())
            command_(OpenCommand);
        break;
    default:
        break;
    }
}

void CTrayIcon::SetTip(const QString& tip)
{
    tip_ = tip;
    if (created_)
        surface_->SetToolTip(tip_.isEmpty() ? Tip(texts_) : tip_);
}

bool CTrayIcon::Notify(const QString& text)
{
    if (!created_)
        return false;
    surface_->ShowMessage(QStringLiteral("Trevolin"), text);
    return true;
}

QIcon CTrayIcon::Picture(int id)
{
    if (const auto known = pictures_.find(id); known != pictures_.end())
        return known->second;
    const QString path = skinFolder_ + QStringLiteral("tray_%1.png").arg(id);
    // Through the skin's checks, like every picture of the skin.
    QString error;
    const QImage picture = QFile::exists(path) ? SkinPictures::Decode(path, error) : QImage();
    return pictures_[id] = picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture));
}

}  // namespace trevolin::gui
