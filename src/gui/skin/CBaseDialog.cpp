#include "gui/skin/CBaseDialog.h"

#include "gui/skin/SkinFailure.h"
#include "gui/skin/SkinLayout.h"
#include "gui/skin/SkinPictures.h"

#include "core/platform/FreeMemory.h"
#include "core/skin/MaskRuns.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <xcb/xcb.h>

#include <span>

namespace trevolin::gui {

CBaseDialog::CBaseDialog(QString iniPath, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      iniPath_(std::move(iniPath))
{
    // The background covers the whole window: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QString CBaseDialog::SkinFolder() const
{
    return QString::fromStdString(skin_.Folder());
}

QPixmap CBaseDialog::Picture(const QString& name) const
{
    return SkinPictures::Load(SkinFolder() + name, devicePixelRatioF());
}

QRegion CBaseDialog::OutlineOf(const QImage& mask)
{
    const QImage rgb = mask.convertToFormat(QImage::Format_RGB32);
    QRegion region;
    // Rectangles are joined a block at a time: one union per rectangle is
    // quadratic on a large mask.
    QList<QRect> block;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
        for (const auto& run : skin::InsideRuns(std::span(line, static_cast<size_t>(rgb.width())))) {
            block.append(QRect(run.start, y, run.end - run.start, 1));
        }
        if (block.size() >= 2000 || y + 1 == rgb.height()) {
            QRegion part;
            part.setRects(block.constData(), static_cast<int>(block.size()));
            region += part;
            block.clear();
        }
    }
    return region;
}

QImage CBaseDialog::ShapedBackground(const QImage& background, const QImage& mask)
{
    QImage alpha = mask.scaled(background.size()).convertToFormat(QImage::Format_Grayscale8);
    alpha.invertPixels();
    QImage shaped = background.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    shaped.setAlphaChannel(alpha);
    return shaped;
}

bool CBaseDialog::CompositorRuns()
{
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland"))) {
        return true;
    }
    if (platform != QLatin1String("xcb")) {
        return false;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) {
        return false;
    }
    const QByteArray name = QByteArrayLiteral("_NET_WM_CM_S0");
    auto atomCookie = xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.constData());
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(connection, atomCookie, nullptr);
    if (!atom) {
        return false;
    }
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    std::free(owner);
    std::free(atom);
    return owned;
}

bool CBaseDialog::InitSkin()
{
    if (!skin_.Load(iniPath_.toStdString())) {
        // Without its ini the window has no background to show: the same
        // failure as a missing picture, naming the ini.
        SkinFailure::Report(iniPath_, QStringLiteral("the skin file cannot be read"));
        return false;
    }
    const QString folder = SkinFolder();
    const QString backgroundPath = folder + QString::fromStdString(skin_.BackgroundName());
    const QString maskPath = folder + QString::fromStdString(skin_.MaskName());
    background_ = SkinPictures::Load(backgroundPath, devicePixelRatioF());
    // The outline is in window coordinates: the mask at its natural size.
    const QPixmap mask = background_.isNull() ? QPixmap() : SkinPictures::Load(maskPath, 1.0);
    if (background_.isNull() || mask.isNull()) {
        return false;
    }

    backgroundSize_ = background_.deviceIndependentSize().toSize();
    resize(backgroundSize_);
    outline_ = OutlineOf(mask.toImage());
    ShapeWindow();

    translucent_ = CompositorRuns();
    if (translucent_) {
        setAttribute(Qt::WA_TranslucentBackground);
        // The mask's grey edge becomes the outline's coverage: smooth
        // corners instead of the region's steps.
        const QPixmap edgeMask = SkinPictures::Load(maskPath, devicePixelRatioF());
        QImage shaped = ShapedBackground(background_.toImage(), edgeMask.toImage());
        shaped.setDevicePixelRatio(background_.devicePixelRatio());
        shapedBackground_ = QPixmap::fromImage(std::move(shaped));
        // Only the shaped copy is drawn from now on: the plain one would be
        // a second picture of the whole window kept for nothing.
        background_ = QPixmap();
    }
    update();
    return true;
}

QRegion CBaseDialog::WindowShape() const
{
    // An empty region would lift the shape altogether; a rectangle outside
    // the window keeps an all-white mask's window empty.
    return outline_.isEmpty() ? QRegion(-2, -2, 1, 1) : outline_;
}

void CBaseDialog::ShapeWindow()
{
    // The shape goes to the desktop's window, not to the widget: a widget
    // mask is intersected with the paint region of every child at every
    // repaint, which for an outline of many rectangles costs more than the
    // painting. Nothing is drawn outside the outline that the desktop
    // would show.
    if (QWindow* window = windowHandle())
        window->setMask(WindowShape());
}

CPngButton* CBaseDialog::AddSkinButton(const std::string& skinKey, const CPngButton::Sources& sources)
{
    auto* button = new CPngButton(this);
    button->setObjectName(QString::fromStdString(skinKey));
    static_cast<void>(SkinLayout::PlaceImageButton(*button, skin_, skin::SkinIni::ButtonInfo, skinKey, sources));
    button->SetTextStyle(true, 9, QStringLiteral("DejaVu Sans"),
                         {QColor(0xe8, 0xec, 0xf2), Qt::white, Qt::white, QColor(0x6a, 0x70, 0x7c),
                          QColor(0x2f, 0xa8, 0xff)});
    return button;
}

QLabel* CBaseDialog::AddTitle()
{
    auto* title = new QLabel(this);
    title->setGeometry(24, 10, width() - 48, 30);
    QFont font = title->font();
    font.setPixelSize(16);
    title->setFont(font);
    return title;
}

bool CBaseDialog::event(QEvent* event)
{
    // The desktop's window exists from here on, not yet shown.
    if (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange)
        ShapeWindow();
    const bool handled = QDialog::event(event);
    // The style's polish (Fusion's) declares every widget see-through; the
    // background still covers the whole window.
    if (event->type() == QEvent::Polish)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

QPixmap CBaseDialog::DecodeBackground() const
{
    const QString folder = SkinFolder();
    const QPixmap plain =
        SkinPictures::LoadUncached(folder + QString::fromStdString(skin_.BackgroundName()), devicePixelRatioF());
    if (!translucent_ || plain.isNull())
        return plain;
    const QPixmap edgeMask =
        SkinPictures::LoadUncached(folder + QString::fromStdString(skin_.MaskName()), devicePixelRatioF());
    QImage shaped = ShapedBackground(plain.toImage(), edgeMask.toImage());
    shaped.setDevicePixelRatio(plain.devicePixelRatio());
    return QPixmap::fromImage(std::move(shaped));
}

void CBaseDialog::KeepBackgroundOnlyUnder(const QRegion& region)
{
    QPixmap whole = translucent_ ? shapedBackground_ : background_;
    if (whole.isNull())
        return;
    const qreal ratio = whole.devicePixelRatio();
    pieces_.clear();
    kept_ = region & QRect(QPoint(0, 0), backgroundSize_);
    for (const QRect& rect : kept_) {
        QPixmap piece = whole.copy(QRectF(rect.x() * ratio, rect.y() * ratio, rect.width() * ratio,
                                          rect.height() * ratio)
                                       .toRect());
        piece.setDevicePixelRatio(ratio);
        pieces_.push_back({rect, std::move(piece)});
    }
    partial_ = true;
    background_ = QPixmap();
    shapedBackground_ = QPixmap();
}

void CBaseDialog::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    if (translucent_)
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (partial_ && !HoldsWholeBackground()) {
        if ((event->region() - kept_).isEmpty()) {
            for (const Piece& piece : pieces_) {
                if (event->region().intersects(piece.rect))
                    painter.drawPixmap(piece.rect.topLeft(), piece.picture);
            }
            return;
        }
        // Beyond the pieces: the whole picture for this once, let go as
        // soon as the event loop comes round.
        (translucent_ ? shapedBackground_ : background_) = DecodeBackground();
        QMetaObject::invokeMethod(
            this,
            [this] {
                background_ = QPixmap();
                shapedBackground_ = QPixmap();
                platform::ReturnFreeMemory();
            },
            Qt::QueuedConnection);
    }
    const QPixmap& whole = translucent_ ? shapedBackground_ : background_;
    if (!whole.isNull())
        painter.drawPixmap(0, 0, whole);
}

void CBaseDialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    // Wayland moves a window only through the compositor; elsewhere the
    // window follows the mouse itself when the system will not move it.
    if (windowHandle() && windowHandle()->startSystemMove()) {
        return;
    }
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    QDialog::mouseReleaseEvent(event);
}

void CBaseDialog::ReleasePictures()
{
    background_ = QPixmap();
    shapedBackground_ = QPixmap();
    pieces_.clear();
    kept_ = QRegion();
    partial_ = false;
}

void CBaseDialog::OnOK()
{
    ReleasePictures();
    accept();
}

void CBaseDialog::OnCancel()
{
    ReleasePictures();
    reject();
}

}  // namespace trevolin::gui
