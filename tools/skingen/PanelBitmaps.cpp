#include "PanelBitmaps.h"

#include "SkinLooks.h"
#include "SkinPalette.h"

#include "core/lighting/PanelControls.h"

#include <QPainter>
#include <QPainterPath>

#include <fmt/format.h>

#include <array>

namespace trevolin::skingen {

namespace {

void Picture(SkinWriter& writer, const std::string& name, QSize size, const PaintFunction& paint)
{
    writer.Picture(name, SkinCanvas::Draw(size, palette::Panel, paint));
}

// A chip that is chosen or not, with a glyph drawn by `glyph` in its pen.
void Chip(QPainter& painter, QSize size, bool chosen, const std::function<void(QPainter&, QRectF)>& glyph)
{
    const QRectF face = QRectF(QPointF(0, 0), size).adjusted(1, 1, -1, -1);
    painter.setPen(QPen(chosen ? palette::Accent : palette::Hairline.lighter(130), chosen ? 1.5 : 1));
    painter.setBrush(chosen ? palette::AccentDeep.darker(130) : palette::PanelRaised);
    painter.drawRoundedRect(face, 6, 6);
    painter.setPen(QPen(chosen ? palette::Text : palette::TextDim, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    glyph(painter, face);
}

void ArrowGlyph(QPainter& painter, QRectF face, QPointF direction)
{
    const QPointF c = face.center();
    const QPointF across(-direction.y(), direction.x());
    painter.drawLine(c - direction * 8, c + direction * 8);
    painter.drawLine(c + direction * 8, c + direction * 3 + across * 5);
    painter.drawLine(c + direction * 8, c + direction * 3 - across * 5);
}

void SpreadGlyph(QPainter& painter, QRectF face, bool outwards)
{
    const QPointF c = face.center();
    for (qreal side : {-1.0, 1.0}) {
        const QPointF from = c + QPointF(side * (outwards ? 3 : 11), 0);
        const QPointF to = c + QPointF(side * (outwards ? 11 : 3), 0);
        painter.drawLine(from, to);
        const qreal tip = outwards ? side : -side;
        painter.drawLine(to, to + QPointF(-tip * 4, -4));
        painter.drawLine(to, to + QPointF(-tip * 4, 4));
    }
}

void BrushGlyph(QPainter& painter, QRectF face, bool baseColour)
{
    const QPointF c = face.center();
    if (baseColour) {
        // The base colour: a filled drop.
        painter.drawEllipse(c + QPointF(0, 2), 5, 5);
        painter.drawLine(c + QPointF(0, -8), c + QPointF(-4, -1));
        painter.drawLine(c + QPointF(0, -8), c + QPointF(4, -1));
    } else {
        painter.drawLine(c + QPointF(-7, 7), c + QPointF(4, -4));
        painter.drawEllipse(c + QPointF(6, -6), 3, 3);
    }
}

}  // namespace

void PanelBitmaps::Write(const MainLayout& layout, SkinWriter& writer)
{
    const QSize toggle = layout.Rect("CONTROL_DengStaPic").size();
    Picture(writer, "dengup.bmp", toggle, [&](QPainter& p) { SkinLooks::Toggle(p, QRect(QPoint(), toggle), false); });
    Picture(writer, "dengdown.bmp", toggle, [&](QPainter& p) { SkinLooks::Toggle(p, QRect(QPoint(), toggle), true); });
    const QSize multi = layout.Rect("CONTROL_HXsjsStaPic").size();
    Picture(writer, "sjsup.bmp", multi, [&](QPainter& p) { SkinLooks::Toggle(p, QRect(QPoint(), multi), false); });
    Picture(writer, "sjsdown.bmp", multi, [&](QPainter& p) { SkinLooks::Toggle(p, QRect(QPoint(), multi), true); });

    const QSize chip = layout.Rect("CONTROL_BLFXLStaPic").size();
    struct Direction {
        const char* name;
        std::function<void(QPainter&, QRectF)> glyph;
    };
    const std::array<Direction, 6> directions = {
        Direction{"left",
                  [](QPainter& p, QRectF f) {
                      ArrowGlyph(p, f, {-1, 0});
                  }},
        Direction{"right",
                  [](QPainter& p, QRectF f) {
                      ArrowGlyph(p, f, {1, 0});
                  }},
        Direction{"up",
                  [](QPainter& p, QRectF f) {
                      ArrowGlyph(p, f, {0, -1});
                  }},
        Direction{"down",
                  [](QPainter& p, QRectF f) {
                      ArrowGlyph(p, f, {0, 1});
                  }},
        Direction{"kuosan", [](QPainter& p, QRectF f) { SpreadGlyph(p, f, true); }},
        Direction{"julong", [](QPainter& p, QRectF f) { SpreadGlyph(p, f, false); }},
    };
    for (const auto& direction : directions) {
        const std::string base = direction.name;
        // "leftup"/"leftdown", but "kuosan"/"kuosandown".
        const bool plainName = base == "kuosan" || base == "julong";
        Picture(writer, base + (plainName ? "" : "up") + ".bmp", chip,
                [&](QPainter& p) { Chip(p, chip, false, direction.glyph); });
        Picture(writer, base + "down.bmp", chip, [&](QPainter& p) { Chip(p, chip, true, direction.glyph); });
    }
    for (int tool = 1; tool <= 2; ++tool) {
        auto glyph = [tool](QPainter& p, QRectF f) { BrushGlyph(p, f, tool == 2); };
        Picture(writer, fmt::format("user{}up.bmp", tool), chip, [&](QPainter& p) { Chip(p, chip, false, glyph); });
        Picture(writer, fmt::format("user{}down.bmp", tool), chip, [&](QPainter& p) { Chip(p, chip, true, glyph); });
    }

    // The colour choice of effect 17: red, yellow, green, blue.
    const QSize dot = layout.Rect("CONTROL_HONGPIC").size();
    const std::array<std::pair<const char*, QColor>, 4> choices = {
        std::pair{"hong", QColor(255, 48, 48)}, std::pair{"huang", QColor(255, 214, 0)},
        std::pair{"lv", QColor(40, 220, 90)}, std::pair{"lan", QColor(40, 120, 255)}};
    for (const auto& [name, colour] : choices) {
        for (bool chosen : {false, true}) {
            Picture(writer, fmt::format("{}{}.bmp", name, chosen ? "ok" : ""), dot, [&, colour = colour](QPainter& p) {
                const QRectF face = QRectF(QPointF(0, 0), dot).adjusted(3, 3, -3, -3);
                p.setPen(chosen ? QPen(palette::Text, 2) : QPen(palette::Hairline.lighter(130), 1));
                p.setBrush(colour);
                p.drawEllipse(face);
                if (chosen) {
                    p.setPen(QPen(QColor(20, 20, 20), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                    const QPointF c = face.center();
                    p.drawLine(c + QPointF(-5, 0), c + QPointF(-1, 4));
                    p.drawLine(c + QPointF(-1, 4), c + QPointF(5, -4));
                }
            });
        }
    }

    // The busy indicator's ten frames.
    const QSize busy = layout.Rect("CONTROL_JDTStatic").size();
    for (int frame = 0; frame < 10; ++frame) {
        writer.Picture(fmt::format("jdt{}.bmp", frame + 1), SkinCanvas::Draw(busy, palette::Window, [&](QPainter& p) {
                           SkinLooks::Spinner(p, QRect(QPoint(), busy), frame, 10);
                       }));
    }

    // Slider pictures: brightness 0..4 at "0.bmp".."4.bmp", speed positions
    // at "6.bmp".."10.bmp"; the other numbers are spare positions drawn
    // empty, so a skin that names them finds a picture.
    const QSize slider = layout.Rect("CONTROL_LightSlider").size();
    for (int n = 0; n <= 25; ++n) {
        const bool brightness = n <= 4;
        const bool speed = n >= 6 && n <= 10;
        Picture(writer, fmt::format("{}.bmp", n), slider, [&](QPainter& p) {
            if (brightness || speed) {
                SkinLooks::Slider(p, QRect(QPoint(), slider), brightness ? n : n - 6, 5, speed);
            } else {
                SkinLooks::Slider(p, QRect(QPoint(), slider), 0, 1, false);
            }
        });
    }

    const QSize swatch = layout.Rect("CONTROL_Color1").size();
    for (const auto& preset : lighting::ColourPresets()) {
        const QColor colour(preset.colour.red, preset.colour.green, preset.colour.blue);
        Picture(writer, std::string(preset.picture), swatch, [&](QPainter& p) {
            p.setPen(QPen(palette::Hairline.lighter(150), 1));
            p.setBrush(colour);
            p.drawRoundedRect(QRectF(QPointF(0, 0), swatch).adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
        });
    }
}

}  // namespace trevolin::skingen
