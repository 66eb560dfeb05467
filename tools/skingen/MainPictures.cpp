#include "MainPictures.h"

#include "KeyLegends.h"
#include "SkinLooks.h"
#include "SkinPalette.h"

#include "core/skin/MainSkin.h"

#include <QPainter>
#include <QPainterPath>

#include <fmt/format.h>

namespace trevolin::skingen {

namespace {

using skin::MainPicture;

void DrawBackground(QPainter& painter, const MainLayout& layout)
{
    const QRect window(QPoint(0, 0), layout.WindowSize());
    // Flat: the arrow faces and the panel pictures sit on it seamlessly.
    painter.fillRect(window, palette::Window);
    painter.setPen(QPen(palette::Hairline, 1));
    painter.drawLine(QPointF(16, 56.5), QPointF(window.width() - 16, 56.5));
    SkinLooks::Panel(painter, layout.KeyboardPanel(), 12);
    SkinLooks::Panel(painter, layout.LightingPanel(), 12);
    // Hairlines that group the lighting panel: effect, report rate, colours.
    const QRect panel = layout.LightingPanel();
    for (int y : {40, 300, 366}) {
        painter.drawLine(QPointF(panel.left() + 16, panel.top() + y + 0.5),
                         QPointF(panel.right() - 15, panel.top() + y + 0.5));
    }
}

// The look a control has in one of the four state pictures: the state that
// the window's table sends to this picture (hover first, as it wins).
Look LookIn(const std::string& key, MainPicture picture)
{
    const auto pictures = skin::MainButtonPicturesOf(key);
    if (!pictures || picture == MainPicture::Normal) {
        return Look::Normal;
    }
    if (pictures->hover == picture) {
        return Look::Hover;
    }
    if (pictures->pressed == picture) {
        return Look::Pressed;
    }
    if (pictures->ticked == picture) {
        return Look::Ticked;
    }
    if (pictures->disabled == picture) {
        return Look::Disabled;
    }
    return Look::Normal;
}

void DrawControl(QPainter& painter, const MainLayout& layout, const std::string& key, const QRect& place, Look look,
                 bool flipSet)
{
    const QRect& rect = place;
    for (const auto& cap : layout.Keys()) {
        if (cap.skinName != key) {
            continue;
        }
        if (cap.key.kind == keyboard::KeyKind::GKey) {
            SkinLooks::KeyCap(painter, rect, QStringLiteral("G%1").arg(cap.key.index + 1), {}, look, true);
        } else if (cap.key.kind == keyboard::KeyKind::Fn) {
            SkinLooks::KeyCap(painter, rect, QStringLiteral("Fn"), {}, look, false);
        } else {
            const auto legend = KeyLegends::Of(cap.scan);
            SkinLooks::KeyCap(painter, rect, legend.main, legend.second, look, false);
        }
        return;
    }
    if (key.starts_with("LOCK_")) {
        const QString label = key == "LOCK_CAPS"     ? "CAPS"
                              : key == "LOCK_NUM"    ? "NUM"
                              : key == "LOCK_SCROLL" ? "SCRL"
                                                     : "BANK B";
        SkinLooks::Light(painter, rect, label, look == Look::Ticked);
    } else if (key == "CONTROL_CLOSE") {
        SkinLooks::IconButton(painter, rect, look, QStringLiteral("close"), true);
    } else if (key == "CONTROL_MINIMIZE") {
        SkinLooks::IconButton(painter, rect, look, QStringLiteral("minimise"));
    } else if (key == "CONTROL_MENU") {
        SkinLooks::IconButton(painter, rect, look, QStringLiteral("menu"));
    } else if (key == "CONTROL_HELP") {
        SkinLooks::IconButton(painter, rect, look, QStringLiteral("?"));
    } else if (key == "VELTRA_LINK") {
        SkinLooks::Wordmark(painter, rect, look);
    } else if (key == "VELTRA_VER") {
        // The version label stays empty.
    } else if (key == "CONTROL2_APPLY") {
        SkinLooks::Button(painter, rect, look, true);
    } else if (key.starts_with("FUNC_REPORT")) {
        SkinLooks::Button(painter, rect, look, false, QString::fromStdString(key.substr(11)));
    } else if (key == "FLIP_0") {
        const bool set = look == Look::Ticked ? true : flipSet;
        SkinLooks::Button(painter, rect, look == Look::Ticked ? Look::Ticked : Look::Normal, false,
                          set ? QStringLiteral("D1 \u2013 D6") : QStringLiteral("F1 \u2013 F4"));
    } else if (key == "FLIP_1" || key == "FLIP_2") {
        SkinLooks::Button(painter, rect, look, false, QStringLiteral("\u21c5"));
    } else if (key == "FUNC_PROFILES") {
        // The profile name is written on it at run time: a level plate with
        // the accent's edge, round at both ends.
        painter.save();
        QColor fill = palette::PanelRaised;
        QColor edge = palette::Accent;
        if (look == Look::Hover) {
            fill = fill.lighter(130);
            edge = edge.lighter(120);
        } else if (look == Look::Pressed) {
            fill = fill.darker(130);
        } else if (look == Look::Disabled) {
            fill = SkinLooks::Dimmed(fill);
            edge = SkinLooks::Dimmed(edge);
        }
        painter.setPen(QPen(edge, 1.2));
        painter.setBrush(fill);
        const QRectF plate = QRectF(rect).adjusted(1, 1, -1, -1);
        painter.drawRoundedRect(plate, plate.height() / 2, plate.height() / 2);
        painter.restore();
    } else if (key == "LEFT_ARROW" || key == "RIGHT_ARROW") {
        // Drawn from "Arrow.jpg" by the window.
    } else {
        SkinLooks::Button(painter, rect, look);
    }
}

DrawnPicture DrawState(const MainLayout& layout, MainPicture picture, bool flipSet)
{
    return SkinCanvas::Draw(layout.WindowSize(), palette::Window, [&](QPainter& painter) {
        // A button shows its picture from one pixel up and left of its
        // place: the whole picture is drawn that much up and left, so the
        // background around a face lines up with the window's.
        painter.translate(-1, -1);
        DrawBackground(painter, layout);
        for (const auto& control : layout.ImageButtons()) {
            DrawControl(painter, layout, control.key, control.rect, LookIn(control.key, picture), flipSet);
        }
    });
}

}  // namespace

void MainPictures::Write(const MainLayout& layout, SkinWriter& writer)
{
    writer.Picture("main_back.jpg", SkinCanvas::Draw(layout.WindowSize(), palette::Window,
                                                     [&](QPainter& painter) { DrawBackground(painter, layout); }));
    for (auto picture : {MainPicture::Normal, MainPicture::Over, MainPicture::Down, MainPicture::Disable}) {
        writer.Picture(skin::MainPictureFile(picture), DrawState(layout, picture, false));
    }
    writer.Picture(skin::main_skin::Color0Picture, DrawState(layout, MainPicture::Normal, false));
    writer.Picture(skin::main_skin::Color1Picture, DrawState(layout, MainPicture::Normal, true));

    // Black inside, pure white outside; the grey of the anti-aliased corner
    // is inside too, and gives the edge its coverage where a compositor runs.
    writer.Picture("main_mask.png", SkinCanvas::Draw(layout.WindowSize(), Qt::white, [&](QPainter& painter) {
                       painter.setPen(Qt::NoPen);
                       painter.setBrush(Qt::black);
                       painter.drawRoundedRect(QRectF(QPointF(0, 0), layout.WindowSize()), MainLayout::Radius,
                                               MainLayout::Radius);
                   }));

    writer.Picture(skin::main_skin::ArrowPicture,
                   SkinCanvas::Draw(layout.ArrowPictureSize(), palette::Window, [&](QPainter& painter) {
                       for (const auto& face : layout.ArrowFaces()) {
                           const bool up = face.key.starts_with("UP");
                           const bool lit = face.key.ends_with('2');
                           SkinLooks::Arrow(painter, face.rect, up, lit);
                       }
                   }));
    writer.Text(skin::main_skin::IniName, layout.IniText());
}

}  // namespace trevolin::skingen
