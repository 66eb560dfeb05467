#pragma once

#include <QPainter>
#include <QWidget>

namespace trevolin::gui {

// The skin's mark of the keyboard's focus, inside a control's edge: drawn
// only once the keyboard has moved the focus in the window (a click leaves
// no mark).
inline void DrawFocusMark(QPainter& painter, const QWidget& control)
{
    if (!control.hasFocus() || !control.window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x2f, 0xa8, 0xff), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(control.rect()).adjusted(1.5, 1.5, -1.5, -1.5), 4, 4);
    painter.restore();
}

}  // namespace trevolin::gui
