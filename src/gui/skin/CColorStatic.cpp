#include "gui/skin/CColorStatic.h"

namespace trevolin::gui {

CColorStatic::CColorStatic(QWidget* parent) : QLabel(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    SetTextColor(colour_);
}

void CColorStatic::SetTextColor(const QColor& colour)
{
    colour_ = colour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, colour);
    setPalette(palette);
    repaint();
}

void CColorStatic::SetFontHeight(int pixels)
{
    QFont font = this->font();
    font.setPixelSize(pixels);
    setFont(font);
    repaint();
}

}  // namespace trevolin::gui
