#pragma once

#include <QPixmap>
#include <QSlider>

#include <array>

namespace trevolin::gui {

// A five-position slider (0 to 4) that draws the skin's picture of its
// position instead of a groove and a handle. A click or a drag puts it at
// the nearest position; the arrow keys move it one position.
class CImageSlider final : public QSlider {
    Q_OBJECT
public:
    static constexpr int Positions = 5;
    explicit CImageSlider(QWidget* parent);
    void SetPictures(const std::array<QPixmap, Positions>& pictures);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void MoveTo(int x);

    std::array<QPixmap, Positions> pictures_;
};

}  // namespace trevolin::gui
