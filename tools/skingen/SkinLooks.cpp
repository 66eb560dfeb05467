#include "SkinLooks.h"

#include "SkinPalette.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace trevolin::skingen {

namespace p = palette;

QFont SkinLooks::Font(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QColor SkinLooks::Dimmed(const QColor& colour)
{
    // About 40 % of the way from the window's colour to the colour.
    return QColor::fromRgbF(p::Window.redF() + (colour.redF() - p::Window.redF()) * 0.4f,
                            p::Window.greenF() + (colour.greenF() - p::Window.greenF()) * 0.4f,
                            p::Window.blueF() + (colour.blueF() - p::Window.blueF()) * 0.4f);
}

void SkinLooks::Panel(QPainter& painter, const QRectF& rect, qreal radius)
{
    painter.save();
    painter.setPen(QPen(p::Hairline, 1));
    painter.setBrush(p::Panel);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

void SkinLooks::SectionTitle(QPainter& painter, const QRect& rect, const QString& text)
{
    painter.save();
    painter.setFont(Font(11, true));
    painter.setPen(p::TextDim);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text.toUpper());
    painter.restore();
}

void SkinLooks::KeyCap(QPainter& painter, const QRect& rect, const QString& legend, const QString& second, Look look,
                       bool gKey)
{
    painter.save();
    QRectF cap = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor top = gKey ? p::GCapTop : p::CapTop;
    QColor bottom = gKey ? p::GCapBottom : p::CapBottom;
    QColor edge = p::Hairline;
    QColor text = p::Text;
    switch (look) {
    case Look::Hover:
        top = top.lighter(125);
        bottom = bottom.lighter(120);
        edge = p::Accent;
        break;
    case Look::Pressed:
    case Look::Ticked:
        cap.translate(0, 1);
        top = bottom.darker(115);
        bottom = bottom.darker(110);
        edge = p::Accent;
        break;
    case Look::Disabled:
        top = Dimmed(top);
        bottom = Dimmed(bottom);
        text = Dimmed(text);
        break;
    case Look::Normal:
        break;
    }
    // A dark base under the cap gives it depth; the top face catches light.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 110));
    painter.drawRoundedRect(cap.translated(0, 1.5), 4, 4);
    QLinearGradient gradient(cap.topLeft(), cap.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.setBrush(gradient);
    painter.setPen(QPen(edge, look == Look::Normal || look == Look::Disabled ? 1.0 : 1.5));
    painter.drawRoundedRect(cap, 4, 4);
    // The light from above: a faint highlight along the top edge.
    if (look != Look::Disabled) {
        painter.setPen(QPen(QColor(255, 255, 255, look == Look::Hover ? 48 : 28), 1));
        painter.drawLine(QPointF(cap.left() + 4, cap.top() + 1.5), QPointF(cap.right() - 4, cap.top() + 1.5));
    }
    painter.setPen(text);
    if (gKey) {
        painter.setFont(Font(9, true));
        painter.setPen(look == Look::Disabled ? Dimmed(p::TextDim) : p::TextDim);
        painter.drawText(cap.adjusted(5, 1, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, legend);
    } else if (second.isEmpty()) {
        // Letters, symbols and F keys large and bold; words smaller.
        const bool fKey =
            legend.size() <= 3 && legend.startsWith(QLatin1Char('F')) && legend.size() > 1 && legend.at(1).isDigit();
        const bool glyph = legend.size() <= 2 && !fKey;
        const int size = glyph ? 13 : (fKey ? 12 : (legend.size() <= 5 ? 10 : 9));
        painter.setFont(Font(size, glyph || fKey));
        painter.drawText(cap.adjusted(2, 0, -2, 0), Qt::AlignCenter, legend);
    } else {
        // The small legend fits the cap with a margin on both sides: a
        // narrow key ("Home", "PgDn" on the keypad) gets a smaller face.
        const QRectF corner = cap.adjusted(4, 3, -4, 0);
        QFont small = Font(8);
        while (QFontMetricsF(small).horizontalAdvance(second) > corner.width() && small.pointSizeF() > 6)
            small.setPointSizeF(small.pointSizeF() - 0.5);
        painter.setFont(small);
        painter.setPen(look == Look::Disabled ? Dimmed(p::TextDim) : p::TextDim);
        painter.drawText(corner, Qt::AlignLeft | Qt::AlignTop, second);
        painter.setPen(text);
        painter.setFont(Font(12, true));
        painter.drawText(cap.adjusted(5, 0, -4, -3), Qt::AlignLeft | Qt::AlignBottom, legend);
    }
    painter.restore();
}

void SkinLooks::Button(QPainter& painter, const QRect& rect, Look look, bool primary, const QString& caption)
{
    painter.save();
    const QRectF face = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = p::PanelRaised;
    QColor edge = p::Hairline;
    qreal edgeWidth = 1.0;
    if (primary) {
        fill = p::Warm.darker(150);
        edge = p::Warm;
    }
    switch (look) {
    case Look::Hover:
        fill = fill.lighter(130);
        edge = primary ? p::Warm.lighter(120) : p::Accent;
        break;
    case Look::Pressed:
        fill = fill.darker(130);
        edge = primary ? p::Warm : p::Accent;
        break;
    case Look::Ticked:
        fill = QColor(p::AccentDeep.red(), p::AccentDeep.green(), p::AccentDeep.blue(), 255).darker(140);
        edge = p::Accent;
        edgeWidth = 2.0;
        break;
    case Look::Disabled:
        fill = primary ? p::PanelRaised : fill;
        fill = Dimmed(fill);
        edge = Dimmed(p::Hairline);
        break;
    case Look::Normal:
        break;
    }
    painter.setPen(QPen(edge, edgeWidth));
    painter.setBrush(fill);
    const QRectF drawn = look == Look::Pressed ? face.translated(0, 1) : face;
    painter.drawRoundedRect(
        drawn.adjusted(edgeWidth / 2 - 0.5, edgeWidth / 2 - 0.5, -(edgeWidth / 2 - 0.5), -(edgeWidth / 2 - 0.5)), 6, 6);
    if (look == Look::Ticked) {
        // Not by colour alone: a ticked button also carries a bar.
        painter.setPen(Qt::NoPen);
        painter.setBrush(p::Accent);
        painter.drawRoundedRect(QRectF(drawn.left() + 8, drawn.bottom() - 4, drawn.width() - 16, 2), 1, 1);
    }
    if (!caption.isEmpty()) {
        painter.setFont(Font(11, true));
        painter.setPen(look == Look::Disabled ? Dimmed(p::Text) : (look == Look::Ticked ? p::Accent : p::Text));
        painter.drawText(drawn, Qt::AlignCenter, caption);
    }
    painter.restore();
}

void SkinLooks::IconButton(QPainter& painter, const QRect& rect, Look look, const QString& glyph, bool danger)
{
    painter.save();
    const QRectF face = QRectF(rect).adjusted(1.5, 1.5, -1.5, -1.5);
    QColor fill = Qt::transparent;
    QColor text = p::TextDim;
    if (look == Look::Hover || look == Look::Pressed) {
        fill = danger ? p::Danger : p::PanelRaised.lighter(look == Look::Pressed ? 110 : 140);
        text = p::Text;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(face, 6, 6);
    QPen pen(text, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QPointF c = face.center();
    if (glyph == QLatin1String("close")) {
        painter.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
        painter.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));
    } else if (glyph == QLatin1String("minimise")) {
        painter.drawLine(c + QPointF(-6, 4), c + QPointF(6, 4));
    } else if (glyph == QLatin1String("menu")) {
        for (int dy : {-5, 0, 5}) {
            painter.drawLine(c + QPointF(-6, dy), c + QPointF(6, dy));
        }
    } else {
        painter.setFont(Font(15, true));
        painter.drawText(face, Qt::AlignCenter, glyph);
    }
    painter.restore();
}

void SkinLooks::Light(QPainter& painter, const QRect& rect, const QString& label, bool lit)
{
    painter.save();
    const QPointF dot(rect.center().x() + 0.5, rect.top() + 6.5);
    if (lit) {
        QRadialGradient glow(dot, 9);
        glow.setColorAt(0, QColor(p::Led.red(), p::Led.green(), p::Led.blue(), 150));
        glow.setColorAt(1, QColor(p::Led.red(), p::Led.green(), p::Led.blue(), 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(dot, 9, 9);
    }
    painter.setPen(QPen(lit ? p::Led.lighter(120) : p::Hairline.lighter(130), 1));
    painter.setBrush(lit ? p::Led : p::Window);
    painter.drawEllipse(dot, 3.5, 3.5);
    painter.setFont(Font(8, true));
    painter.setPen(lit ? p::Text : p::TextDim);
    painter.drawText(QRectF(rect).adjusted(-2, 12, 2, 0), Qt::AlignHCenter | Qt::AlignTop, label);
    painter.restore();
}

void SkinLooks::Toggle(QPainter& painter, const QRect& rect, bool on)
{
    painter.save();
    const QRectF track = QRectF(rect).adjusted(1.5, 2.5, -1.5, -2.5);
    const qreal radius = track.height() / 2;
    painter.setPen(QPen(on ? p::Accent : p::Hairline.lighter(140), 1));
    painter.setBrush(on ? p::AccentDeep : p::Window);
    painter.drawRoundedRect(track, radius, radius);
    const qreal knob = radius - 3;
    const QPointF centre(on ? track.right() - radius : track.left() + radius, track.center().y());
    painter.setPen(Qt::NoPen);
    painter.setBrush(on ? p::Text : p::TextDim);
    painter.drawEllipse(centre, knob, knob);
    painter.restore();
}

void SkinLooks::Wordmark(QPainter& painter, const QRect& rect, Look look)
{
    painter.save();
    // The mark: a key cap seen from above, lit in the accent colour.
    const QRectF mark(rect.left() + 2, rect.top() + 4, 24, 24);
    painter.setPen(QPen(look == Look::Hover ? p::Accent.lighter(120) : p::Accent, 2));
    painter.setBrush(look == Look::Pressed ? p::AccentDeep : p::Window);
    painter.drawRoundedRect(mark.adjusted(1, 1, -1, -1), 6, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(p::Accent);
    painter.drawRoundedRect(QRectF(mark.left() + 7, mark.top() + 7, 10, 10), 2, 2);
    painter.setFont(Font(17, true));
    painter.setPen(look == Look::Hover ? p::Text.lighter(110) : p::Text);
    painter.drawText(QRectF(rect).adjusted(34, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TREVOLIN"));
    painter.restore();
}

void SkinLooks::Arrow(QPainter& painter, const QRect& rect, bool up, bool lit)
{
    painter.save();
    const QPointF c = QRectF(rect).center();
    QPainterPath path;
    const qreal s = up ? -1 : 1;
    path.moveTo(c + QPointF(-6, -3 * s));
    path.lineTo(c + QPointF(0, 4 * s));
    path.lineTo(c + QPointF(6, -3 * s));
    painter.setPen(QPen(lit ? p::Accent : p::TextDim, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
}

void SkinLooks::Spinner(QPainter& painter, const QRect& rect, int frame, int frames)
{
    painter.save();
    const QPointF c = QRectF(rect).center();
    const qreal radius = std::min(rect.width(), rect.height()) / 2.0 - 3;
    for (int i = 0; i < frames; ++i) {
        const double angle = 2 * std::numbers::pi * i / frames - std::numbers::pi / 2;
        const int age = (frame - i + frames) % frames;  // 0: the newest dot
        QColor colour = p::Accent;
        colour.setAlphaF(static_cast<float>(1.0 - age / static_cast<double>(frames)) * 0.9f + 0.1f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(c + QPointF(std::cos(angle) * radius, std::sin(angle) * radius), 2.2, 2.2);
    }
    painter.restore();
}

void SkinLooks::Slider(QPainter& painter, const QRect& rect, int position, int positions, bool speed)
{
    painter.save();
    const QRectF track(rect.left() + 8, rect.center().y() - 2, rect.width() - 16, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(p::Hairline.lighter(120));
    painter.drawRoundedRect(track, 2, 2);
    const qreal step = positions > 1 ? track.width() / (positions - 1) : 0;
    const qreal knobX = track.left() + step * position;
    painter.setBrush(speed ? p::Warm : p::Accent);
    painter.drawRoundedRect(QRectF(track.left(), track.top(), knobX - track.left(), track.height()), 2, 2);
    for (int i = 0; i < positions; ++i) {
        painter.setBrush(i <= position ? (speed ? p::Warm : p::Accent) : p::Hairline.lighter(160));
        painter.drawEllipse(QPointF(track.left() + step * i, track.center().y()), 1.5, 1.5);
    }
    painter.setPen(QPen(speed ? p::Warm : p::Accent, 2));
    painter.setBrush(p::Text);
    painter.drawEllipse(QPointF(knobX, track.center().y()), 6, 6);
    painter.restore();
}

}  // namespace trevolin::skingen
