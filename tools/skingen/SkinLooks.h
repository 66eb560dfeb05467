#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace trevolin::skingen {

// The state a control is drawn in for one state picture.
enum class Look { Normal, Hover, Pressed, Ticked, Disabled };

// The skin's drawing vocabulary: caps, buttons, lights, panels. Every
// control of every window is drawn with these, so all of them agree.
class SkinLooks {
public:
    static QFont Font(int pixelSize, bool bold = false);

    static void Panel(QPainter& p, const QRectF& rect, qreal radius = 10);
    static void SectionTitle(QPainter& p, const QRect& rect, const QString& text);

    // A key cap with its legends; a G key is darker and keeps its middle
    // free for the bank label the window writes over it.
    static void KeyCap(QPainter& p, const QRect& rect, const QString& legend, const QString& second, Look look,
                       bool gKey);
    // A plain button whose caption the window writes at run time.
    static void Button(QPainter& p, const QRect& rect, Look look, bool primary = false, const QString& caption = {});
    static void IconButton(QPainter& p, const QRect& rect, Look look, const QString& glyph, bool danger = false);
    static void Light(QPainter& p, const QRect& rect, const QString& label, bool lit);
    static void Toggle(QPainter& p, const QRect& rect, bool on);
    static void Wordmark(QPainter& p, const QRect& rect, Look look);
    static void Arrow(QPainter& p, const QRect& rect, bool up, bool lit);
    static void Spinner(QPainter& p, const QRect& rect, int frame, int frames);
    static void Slider(QPainter& p, const QRect& rect, int position, int positions, bool speed);

    static QColor Dimmed(const QColor& colour);
};

}  // namespace trevolin::skingen
