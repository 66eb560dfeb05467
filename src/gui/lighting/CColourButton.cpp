#include "gui/lighting/CColourButton.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidgetAction>

#include <optional>

namespace trevolin::gui {

namespace {

std::optional<QColor>& NextDialogColour()
{
    static std::optional<QColor> colour;
    return colour;
}

QString NameOf(const QColor& colour)
{
    return QStringLiteral("%1,%2,%3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

}  // namespace

CColourButton::CColourButton(QWidget* parent) : QToolButton(parent), menu_(this)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setPopupMode(QToolButton::InstantPopup);
    setMenu(&menu_);
    // Built when it opens: the texts and the automatic colour may change.
    connect(&menu_, &QMenu::aboutToShow, this, &CColourButton::BuildMenu);
}

const QList<QColor>& CColourButton::Palette()
{
    static const QList<QColor> palette = {
        QColor(0, 0, 0),       QColor(153, 51, 0),    QColor(51, 51, 0),     QColor(0, 51, 0),
        QColor(0, 51, 102),    QColor(0, 0, 128),     QColor(51, 51, 153),   QColor(51, 51, 51),
        QColor(128, 0, 0),     QColor(255, 102, 0),   QColor(128, 128, 0),   QColor(0, 128, 0),
        QColor(0, 128, 128),   QColor(0, 0, 255),     QColor(102, 102, 153), QColor(128, 128, 128),
        QColor(255, 0, 0),     QColor(255, 153, 0),   QColor(153, 204, 0),   QColor(51, 153, 102),
        QColor(51, 204, 204),  QColor(51, 102, 255),  QColor(128, 0, 128),   QColor(153, 153, 153),
        QColor(255, 0, 255),   QColor(255, 204, 0),   QColor(255, 255, 0),   QColor(0, 255, 0),
        QColor(0, 255, 255),   QColor(0, 204, 255),   QColor(153, 51, 102),  QColor(192, 192, 192),
        QColor(255, 153, 204), QColor(255, 204, 153), QColor(255, 255, 153), QColor(204, 255, 204),
        QColor(204, 255, 255), QColor(153, 204, 255), QColor(204, 153, 255), QColor(255, 255, 255),
    };
    return palette;
}

void CColourButton::SetNextDialogColour(const QColor& colour)
{
    NextDialogColour() = colour;
}

void CColourButton::SetColour(const QColor& colour)
{
    if (colour == colour_)
        return;
    colour_ = colour;
    update();
}

void CColourButton::SetTexts(const QString& automatic, const QString& other)
{
    automaticText_ = automatic;
    otherText_ = other;
}

void CColourButton::BuildMenu()
{
    menu_.clear();
    menu_.addAction(automaticText_, this, [this] { Choose(automatic_); });
    auto* grid = new QWidget(&menu_);
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(3);
    const QList<QColor>& colours = Palette();
    for (int i = 0; i < colours.size(); ++i) {
        auto* swatch = new QToolButton(grid);
        const QColor colour = colours[i];
        swatch->setFixedSize(18, 18);
        swatch->setAutoRaise(false);
        swatch->setStyleSheet(QStringLiteral("QToolButton { background: %1; border: 1px solid #4a5260; } "
                                             "QToolButton:focus, QToolButton:hover { border: 2px solid #2fa8ff; }")
                                  .arg(colour.name()));
        swatch->setAccessibleName(NameOf(colour));
        swatch->setToolTip(NameOf(colour));
        connect(swatch, &QToolButton::clicked, this, [this, colour] {
            menu_.close();
            Choose(colour);
        });
        layout->addWidget(swatch, i / PaletteColumns, i % PaletteColumns);
    }
    auto* action = new QWidgetAction(&menu_);
    action->setDefaultWidget(grid);
    menu_.addAction(action);
    menu_.addAction(otherText_, this, &CColourButton::AskOther);
}

void CColourButton::AskOther()
{
    QColor chosen;
    if (auto& next = NextDialogColour()) {
        chosen = *next;
        next.reset();
    } else {
        // Qt's own dialog, in the skin's dark look.
        chosen = QColorDialog::getColor(colour_, window(), otherText_, QColorDialog::DontUseNativeDialog);
    }
    if (chosen.isValid())
        Choose(chosen);
}

void CColourButton::Choose(const QColor& colour)
{
    SetColour(colour);
    emit ColourChosen(colour);
}

void CColourButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75);
    const bool keyboardFocus = hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
    painter.setPen(QPen(keyboardFocus || underMouse() ? QColor(0x2f, 0xa8, 0xff) : QColor(0x4a, 0x52, 0x60), 1.5));
    painter.setBrush(QColor(0x24, 0x29, 0x32));
    painter.drawRoundedRect(face, 5, 5);
    // The colour, and a small arrow that says a palette opens.
    const QRectF swatch = face.adjusted(4, 4, -22, -4);
    painter.setPen(QPen(QColor(0, 0, 0, 90), 1));
    painter.setBrush(colour_);
    painter.drawRoundedRect(swatch, 3, 3);
    const QPointF tip(face.right() - 11, face.center().y() + 2.5);
    painter.setPen(QPen(QColor(0xe6, 0xea, 0xf0), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(tip, tip + QPointF(-4, -4));
    painter.drawLine(tip, tip + QPointF(4, -4));
}

}  // namespace trevolin::gui
