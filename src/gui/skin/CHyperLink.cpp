#include "gui/skin/CHyperLink.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>

#include <utility>

namespace trevolin::gui {

namespace {

CHyperLink::Opener& CurrentOpener()
{
    static CHyperLink::Opener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

CHyperLink::Complaint& CurrentComplaint()
{
    static CHyperLink::Complaint complaint = [](QWidget* parent, const QString& message) {
        QMessageBox::warning(parent, QString(), message);
    };
    return complaint;
}

}  // namespace

CHyperLink::CHyperLink(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
}

void CHyperLink::SetLink(const QString& text, const QString& target)
{
    setText(text);
    target_ = target;
    setToolTip(target);
}

QUrl CHyperLink::UrlOf(const QString& target, const QString& programFolder)
{
    const QUrl url(target);
    if (url.isValid() && !url.scheme().isEmpty()) {
        return url;
    }
    const QString path = QFileInfo(target).isAbsolute() ? target : QDir(programFolder).filePath(target);
    return QUrl::fromLocalFile(path);
}

CHyperLink::Opener CHyperLink::SetOpener(Opener opener)
{
    return std::exchange(CurrentOpener(), std::move(opener));
}

CHyperLink::Complaint CHyperLink::SetComplaint(Complaint complaint)
{
    return std::exchange(CurrentComplaint(), std::move(complaint));
}

void CHyperLink::SetHover(bool hover)
{
    hover_ = hover;
    QFont font = this->font();
    font.setUnderline(hover);
    setFont(font);
}

void CHyperLink::enterEvent(QEnterEvent* event)
{
    SetHover(true);
    QLabel::enterEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event)
{
    SetHover(false);
    QLabel::leaveEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    const QUrl url = UrlOf(target_, QCoreApplication::applicationDirPath());
    const bool opened = !target_.isEmpty() && CurrentOpener()(url);
    if (!opened) {
        QApplication::beep();
        CurrentComplaint()(this, QStringLiteral("Unable to open hyperlink:\n\n%1").arg(target_));
    }
    emit Opened(opened);
}

}  // namespace trevolin::gui
