#include "gui/mainwindow/CNotice.h"

#include <QPainter>

namespace trevolin::gui {

void CNotice::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0x2a, 0x2f, 0x38), 1));
        painter.setBrush(QColor(18, 20, 24, 215));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    }
    QLabel::paintEvent(event);
}

}  // namespace trevolin::gui
