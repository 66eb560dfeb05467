#include "gui/lighting/CImageSlider.h"

#include <QMouseEvent>
#include "gui/skin/FocusMark.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace trevolin::gui {

CImageSlider::CImageSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(0, Positions - 1);
    setSingleStep(1);
    setPageStep(10);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void CImageSlider::SetPictures(const std::array<QPixmap, Positions>& pictures)
{
    pictures_ = pictures;
    update();
}

void CImageSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPixmap& picture = pictures_[static_cast<size_t>(std::clamp(value(), 0, Positions - 1))];
    if (!picture.isNull())
        painter.drawPixmap(rect(), picture);
    DrawFocusMark(painter, *this);
}

void CImageSlider::MoveTo(int x)
{
    const double along = width() > 1 ? static_cast<double>(x) / (width() - 1) : 0.0;
    const int position = static_cast<int>(std::lround(std::clamp(along, 0.0, 1.0) * (Positions - 1)));
    if (position != value()) {
        setSliderPosition(position);
        triggerAction(SliderMove);
    }
}

void CImageSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    setSliderDown(true);
    MoveTo(event->position().toPoint().x());
}

void CImageSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (isSliderDown())
        MoveTo(event->position().toPoint().x());
}

void CImageSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        setSliderDown(false);
}

}  // namespace trevolin::gui
