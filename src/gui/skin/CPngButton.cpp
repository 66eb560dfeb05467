#include "gui/skin/CPngButton.h"

#include "gui/skin/FocusMark.h"

#include <map>

#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>

#include <algorithm>
#include <QToolTip>

namespace trevolin::gui {

using skin::ButtonFace;

CPngButton::CPngButton(QWidget* parent) : QAbstractButton(parent)
{
    // The face covers the whole button; nothing to erase under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_Hover);
    // Tab reaches every button and Space presses it; a click does not move
    // the focus, so the mouse leaves no mark behind.
    setFocusPolicy(Qt::TabFocus);
    tipTimer_.setSingleShot(true);
    tipTimer_.setInterval(TipDelayMs);
    connect(&tipTimer_, &QTimer::timeout, this, &CPngButton::ShowTip);
}

void CPngButton::SetSources(const Sources& sources, QPoint faceOrigin)
{
    faceOrigin_ = faceOrigin;
    SetSources(sources);
}

void CPngButton::SetSources(const Sources& sources)
{
    // A raster pixmap's image shares its pixels: nothing is copied.
    faces_[NormalSlot] = sources.normal.toImage();
    faces_[HoverSlot] = sources.hover.toImage();
    faces_[PressedSlot] = sources.pressed.toImage();
    faces_[DisabledSlot] = sources.disabled.toImage();
    faces_[TickedSlot] = sources.ticked.toImage();
    cut_ = false;
    update();
}

void CPngButton::SetOverride(const QPixmap& first, const QPixmap& second, bool on, bool secondOn)
{
    faces_[OverrideSlot] = first.toImage();
    faces_[OverrideSecondSlot] = second.toImage();
    cut_ = false;
    overrideOn_ = on;
    overrideSecond_ = secondOn;
    update();
}

void CPngButton::ChooseOverride(bool on, bool secondOn)
{
    overrideOn_ = on;
    overrideSecond_ = secondOn;
    update();
}

void CPngButton::KeepOnlyOwnPart()
{
    if (cut_)
        return;
    const auto cut = skin::FaceSourceRect(faceOrigin_.x(), faceOrigin_.y(), width(), height());
    // Pictures shared between states stay shared as parts.
    std::map<qint64, QImage> parts;
    for (QImage& face : faces_) {
        if (face.isNull())
            continue;
        QImage& part = parts[face.cacheKey()];
        if (part.isNull()) {
            const qreal ratio = face.devicePixelRatio();
            part = face.copy(QRectF(cut.x * ratio, cut.y * ratio, cut.w * ratio, cut.h * ratio).toRect());
            if (!part.hasAlphaChannel())
                part.convertTo(QImage::Format_RGB888);
            part.setDevicePixelRatio(ratio);
        }
        face = part;
    }
    // A part starts where the cut started.
    faceOrigin_ = QPoint(1, 1);
    cut_ = true;
    update();
}

qsizetype CPngButton::OwnPictureBytes() const
{
    if (!cut_)
        return 0;
    std::map<qint64, qsizetype> parts;
    for (const QImage& face : faces_)
        if (!face.isNull())
            parts[face.cacheKey()] = face.sizeInBytes();
    qsizetype total = 0;
    for (const auto& [key, bytes] : parts)
        total += bytes;
    return total;
}

void CPngButton::SetFrameMode(bool on, const QColor& colour)
{
    frameMode_ = on;
    frameColour_ = colour;
    update();
}

void CPngButton::SetTicked(bool ticked, bool repaint)
{
    ticked_ = ticked;
    if (repaint) {
        update();
    }
}

void CPngButton::SetTextStyle(bool on, qreal points, const QString& face, const std::array<QColor, 5>& colours,
                              int drawFormat)
{
    textOn_ = on;
    textPoints_ = points;
    textFace_ = face;
    textColours_ = colours;
    drawFormat_ = drawFormat;
    update();
}

void CPngButton::SetMargins(int left, int right, int top, int bottom)
{
    marginLeft_ = left;
    marginRight_ = right;
    marginTop_ = top;
    marginBottom_ = bottom;
    update();
}

void CPngButton::SetEscapement(int escapement, bool rotate)
{
    escapement_ = escapement;
    rotate_ = rotate;
    update();
}

void CPngButton::SetTipText(const QString& text)
{
    // What the tooltip says, a screen reader says as the description.
    setAccessibleDescription(text);
    tipText_ = text;
}

void CPngButton::ShowTip()
{
    if (hover_ && !tipText_.isEmpty()) {
        QToolTip::showText(mapToGlobal(QPoint(0, height())), tipText_, this, rect());
    }
}

bool CPngButton::event(QEvent* event)
{
    // The button times its own tip; the desktop's tip delay does not apply.
    if (event->type() == QEvent::ToolTip) {
        event->accept();
        return true;
    }
    const bool handled = QAbstractButton::event(event);
    // The style's polish (Fusion's) declares every widget see-through; the
    // face still covers the whole button. Without this the window repaints
    // its background under every button that changes.
    if (event->type() == QEvent::Polish)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

void CPngButton::SetTint(const QColor& colour, int strengthPercent)
{
    QColor tint = colour;
    if (tint.isValid())
        tint.setAlpha(std::clamp(strengthPercent, 0, 100) * 255 / 100);
    if (tint == tint_)
        return;
    tint_ = tint;
    update();
}

void CPngButton::SetAfterPaint(AfterPaint callback)
{
    afterPaint_ = std::move(callback);
}

ButtonFace CPngButton::CurrentFace() const
{
    return skin::ChooseButtonFace({isEnabled(), overrideOn_, overrideSecond_, isDown(), hover_, ticked_});
}

QSize CPngButton::sizeHint() const
{
    return size();
}

CPngButton::FaceSlot CPngButton::SlotOf(ButtonFace face)
{
    switch (face) {
    case ButtonFace::Hover:
        return HoverSlot;
    case ButtonFace::Pressed:
        return PressedSlot;
    case ButtonFace::Disabled:
        return DisabledSlot;
    case ButtonFace::Ticked:
        return TickedSlot;
    case ButtonFace::Override:
        return OverrideSlot;
    case ButtonFace::OverrideSecond:
        return OverrideSecondSlot;
    case ButtonFace::Normal:
        break;
    }
    return NormalSlot;
}

QColor CPngButton::TextColourOf(ButtonFace face) const
{
    switch (face) {
    case ButtonFace::Hover:
        return textColours_[1];
    case ButtonFace::Pressed:
        return textColours_[2];
    case ButtonFace::Disabled:
        return textColours_[3];
    case ButtonFace::Ticked:
        return textColours_[4];
    default:
        return textColours_[0];
    }
}

void CPngButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const ButtonFace face = CurrentFace();
    if (frameMode_) {
        // Two pixels wide along the client rectangle inset by one, no fill.
        painter.setPen(QPen(frameColour_, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(2, 2, width() - 3, height() - 3));
    } else {
        const QImage& source = faces_[SlotOf(face)];
        const auto cut = skin::FaceSourceRect(faceOrigin_.x(), faceOrigin_.y(), width(), height());
        const qreal ratio = source.devicePixelRatio();
        // Pixels of a double-size picture: the same place, twice the detail.
        const QRectF from(cut.x * ratio, cut.y * ratio, cut.w * ratio, cut.h * ratio);
        painter.drawImage(QRectF(0, 0, width(), height()), source, from);
    }
    if (tint_.isValid()) {
        // Over the cap's face, inside its rounded edge, under any text. A
        // plain rectangle: a path would go through the rasterizer and, on a
        // large key, through Qt's painting threads, at every preview frame.
        painter.fillRect(rect().adjusted(2, 2, -2, -2), tint_);
    }
    if (textOn_) {
        DrawText(painter, face);
    }
    // Only once the keyboard moves the focus: a window that has just opened
    // (or was clicked) shows no mark.
    DrawFocusMark(painter, *this);
    painter.end();
    if (afterPaint_) {
        afterPaint_(*this, face == ButtonFace::Normal);
    }
}

void CPngButton::DrawText(QPainter& painter, ButtonFace face)
{
    const QString shown = text().left(259);
    if (shown.isEmpty()) {
        return;
    }
    QFont font(textFace_);
    font.setPointSizeF(textPoints_);
    font.setWeight(rotate_ ? QFont::Black : QFont::Normal);
    painter.setFont(font);
    painter.setPen(TextColourOf(face));
    QRect box = rect().adjusted(-marginLeft_, -marginTop_, marginRight_, marginBottom_);
    const auto alignment = skin::AlignmentOfDrawFormat(drawFormat_);

    if (rotate_) {
        const QFontMetrics metrics(font);
        const auto moved = skin::RotatedTextBox({box.x(), box.y(), box.width(), box.height()},
                                                metrics.horizontalAdvance(shown), metrics.height(), escapement_);
        // The text starts at the box's bottom left and rises at the angle.
        painter.save();
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(moved.x, moved.y + moved.h);
        painter.rotate(-escapement_ / 10.0);
        painter.drawText(QPointF(0, -metrics.descent()), shown);
        painter.restore();
        return;
    }

    using H = skin::ButtonTextAlignment::Horizontal;
    using V = skin::ButtonTextAlignment::Vertical;
    int flags = alignment.horizontal == H::Centre  ? Qt::AlignHCenter
                : alignment.horizontal == H::Right ? Qt::AlignRight
                                                   : Qt::AlignLeft;
    flags |= alignment.vertical == V::Centre   ? Qt::AlignVCenter
             : alignment.vertical == V::Bottom ? Qt::AlignBottom
                                               : Qt::AlignTop;
    if (alignment.singleLine) {
        flags |= Qt::TextSingleLine;
    } else if (alignment.wordBreak) {
        flags |= Qt::TextWordWrap;
    }
    painter.drawText(box, flags, shown);
}

void CPngButton::enterEvent(QEnterEvent* event)
{
    hover_ = true;
    update();
    tipTimer_.start();
    QAbstractButton::enterEvent(event);
}

void CPngButton::leaveEvent(QEvent* event)
{
    hover_ = false;
    update();
    tipTimer_.stop();
    if (QToolTip::isVisible() && !tipText_.isEmpty() && QToolTip::text() == tipText_) {
        QToolTip::hideText();
    }
    QAbstractButton::leaveEvent(event);
}

}  // namespace trevolin::gui
