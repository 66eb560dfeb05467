#include "gui/lighting/CPictureButton.h"

#include "gui/skin/FocusMark.h"

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
    DrawFocusMark(painter, *this);
}

}  // namespace trevolin::gui
