#pragma once

#include <QLabel>

namespace trevolin::gui {

// The notice over the keyboard while it cannot be used: the label's text on
// a dark, rounded, slightly see-through card.
class CNotice final : public QLabel {
    Q_OBJECT
public:
    explicit CNotice(QWidget* parent) : QLabel(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace trevolin::gui
