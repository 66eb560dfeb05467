#include "SkinCanvas.h"

#include <QPainter>

namespace trevolin::skingen {

namespace {

QImage DrawAt(QSize size, int scale, const QColor& fill, const PaintFunction& paint)
{
    const auto format = fill.alpha() == 255 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    QImage image(size * scale, format);
    image.fill(fill);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    paint(painter);
    painter.end();
    return image;
}

}  // namespace

DrawnPicture SkinCanvas::Draw(QSize size, const QColor& fill, const PaintFunction& paint)
{
    return {DrawAt(size, 1, fill, paint), DrawAt(size, 2, fill, paint)};
}

}  // namespace trevolin::skingen
