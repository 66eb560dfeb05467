#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace trevolin::gui {

// A lighting panel picture that is also a button (a toggle, a direction, a
// preset): it shows whichever picture the panel gives it, takes the focus
// and answers Space like any button.
class CPictureButton final : public QAbstractButton {
    Q_OBJECT
public:
    explicit CPictureButton(QWidget* parent);
    void SetPicture(const QPixmap& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

}  // namespace trevolin::gui
