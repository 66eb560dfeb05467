#include "gui/skin/DarkStyle.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>

namespace trevolin::gui {

namespace {

// The skin's colours (tools/skingen draws the windows with the same).
const QColor Background(0x12, 0x14, 0x18);
const QColor Panel(0x1b, 0x1f, 0x26);
const QColor Raised(0x24, 0x29, 0x32);
const QColor Border(0x2a, 0x2f, 0x38);
const QColor Text(0xe6, 0xea, 0xf0);
const QColor Dimmed(0x6a, 0x70, 0x7c);
const QColor Accent(0x2f, 0xa8, 0xff);

// Fusion without the desktop's old-fashioned pictures on dialog buttons
// (a green tick on OK): the skin's buttons carry words only.
class SkinStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

}  // namespace

void ApplyDarkStyle(QApplication&)
{
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(new SkinStyle(fusion));

    QPalette p;
    p.setColor(QPalette::Window, Panel);
    p.setColor(QPalette::WindowText, Text);
    p.setColor(QPalette::Base, Background);
    p.setColor(QPalette::AlternateBase, Panel);
    p.setColor(QPalette::ToolTipBase, Panel);
    p.setColor(QPalette::ToolTipText, Text);
    p.setColor(QPalette::PlaceholderText, Dimmed);
    p.setColor(QPalette::Text, Text);
    p.setColor(QPalette::Button, Raised);
    p.setColor(QPalette::ButtonText, Text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, Raised.lighter(130));
    p.setColor(QPalette::Midlight, Raised);
    p.setColor(QPalette::Mid, Border);
    p.setColor(QPalette::Dark, Background);
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, Accent);
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Link, Accent);
    p.setColor(QPalette::LinkVisited, Accent.darker(120));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        p.setColor(QPalette::Disabled, role, Dimmed);
    p.setColor(QPalette::Disabled, QPalette::Highlight, Border);
    QApplication::setPalette(p);
}

}  // namespace trevolin::gui
