#include "Icons.h"

#include "SkinPalette.h"

#include <QPainter>

#include <fmt/format.h>

namespace trevolin::skingen {

namespace {

// A key cap seen from above, its light in `light`; a cap without light
// is drawn hollow, so the state does not rest on colour alone.
void DrawMark(QPainter& painter, qreal size, const QColor& light, bool lit)
{
    const qreal m = size / 16;
    const QRectF cap(m, m, size - 2 * m, size - 2 * m);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::Window);
    painter.drawRoundedRect(cap, size / 5, size / 5);
    painter.setPen(QPen(light, std::max<qreal>(1.0, size / 14)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(cap.adjusted(size / 10, size / 10, -size / 10, -size / 10), size / 8, size / 8);
    const QRectF core(size * 0.34, size * 0.34, size * 0.32, size * 0.32);
    if (lit) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(light);
    }
    painter.drawRoundedRect(core, size / 16, size / 16);
}

QImage Mark(int size, const QColor& light, bool lit)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawMark(painter, size, light, lit);
    return image;
}

}  // namespace

void Icons::Write(SkinWriter& writer)
{
    struct Tray {
        int id;
        QColor light;
        bool lit;
    };
    for (const Tray& tray :
         {Tray{128, palette::TextDim, false}, Tray{141, palette::Accent, true}, Tray{142, palette::Warm, true}}) {
        writer.Picture(fmt::format("tray_{}.png", tray.id),
                       {Mark(32, tray.light, tray.lit), Mark(64, tray.light, tray.lit)});
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        writer.SingleImage(fmt::format("Icons/hicolor/{0}x{0}/apps/trevolin.png", size),
                           Mark(size, palette::Accent, true));
    }
}

}  // namespace trevolin::skingen
