#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include <functional>

class QPainter;

namespace trevolin::skingen {

// One picture at its natural size and at twice that size for screens with a
// device pixel ratio above 1, drawn by the same code in 1x coordinates.
struct DrawnPicture {
    QImage single;
    QImage twice;
};

using PaintFunction = std::function<void(QPainter&)>;

class SkinCanvas {
public:
    // Opaque pictures start filled with `fill`; a transparent fill keeps
    // an alpha channel (icons).
    static DrawnPicture Draw(QSize size, const QColor& fill, const PaintFunction& paint);
};

}  // namespace trevolin::skingen
