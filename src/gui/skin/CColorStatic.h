#pragma once

#include <QColor>
#include <QLabel>

namespace trevolin::gui {

// A label drawn straight onto the skinned window's background: its own
// colour (white unless told), no background of its own.
class CColorStatic : public QLabel {
    Q_OBJECT

public:
    explicit CColorStatic(QWidget* parent = nullptr);

    // Both redraw at once.
    void SetTextColor(const QColor& colour);
    void SetFontHeight(int pixels);

    QColor TextColor() const { return colour_; }

private:
    QColor colour_{Qt::white};
};

}  // namespace trevolin::gui
