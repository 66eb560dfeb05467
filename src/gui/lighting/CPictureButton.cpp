#include "gui/lighting/CPictureButton.h"

#include <QPainter>

namespace trevolin::gui {

CPictureButton::CPictureButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void CPictureButton::SetPicture(const QPixmap& picture)
{
    if (picture.cacheKey() == picture_.cacheKey())
        return;
    picture_ = picture;
    update();
}

void CPictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!picture_.isNull())
        painter.drawPixmap(rect(), picture_);
    // Only once the keyboard moves the focus, as on the window's buttons.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(QColor(0x2f, 0xa8, 0xff), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 5, 5);
    }
}

}  // namespace trevolin::gui
