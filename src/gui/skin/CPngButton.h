#pragma once

#include "core/skin/ButtonFace.h"
#include "core/skin/ButtonText.h"

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QTimer>

#include <array>
#include <functional>

namespace trevolin::gui {

// An image button: it shows the part of a whole-window state picture that
// lies under it, cut one pixel up and left of its face origin, so one set
// of pictures skins every button of a window. Optionally it writes its text
// over the picture (coloured per state, rotated if asked), or draws only a
// frame.
class CPngButton : public QAbstractButton {
    Q_OBJECT

public:
    // The five state pictures; copies of QPixmap share their pixels.
    struct Sources {
        QPixmap normal;
        QPixmap hover;
        QPixmap pressed;
        QPixmap disabled;
        QPixmap ticked;
    };

    // Called after every paint with whether the normal picture was shown.
    using AfterPaint = std::function<void(CPngButton& button, bool normalShown)>;

    explicit CPngButton(QWidget* parent = nullptr);

    void SetSources(const Sources& sources, QPoint faceOrigin);
    void SetSources(const Sources& sources);
    QPoint FaceOrigin() const { return faceOrigin_; }

    // While `on`, the first (or, with `secondOn`, the second) override
    // picture shows whatever the button's state.
    void SetOverride(const QPixmap& first, const QPixmap& second, bool on, bool secondOn);
    // Switches the override pictures on or off, and between the two, as
    // they are.
    void ChooseOverride(bool on, bool secondOn);
    // Cuts every picture down to the part this button shows and forgets the
    // rest, so a window's whole-window pictures need not stay in memory.
    // Parts without transparency keep three bytes a pixel instead of four.
    // The button must have its place; it keeps it afterwards.
    void KeepOnlyOwnPart();
    // Bytes of picture the button holds of its own (tests, the benchmark):
    // what its cut parts take, not the whole pictures it may share.
    qsizetype OwnPictureBytes() const;
    void SetFrameMode(bool on, const QColor& colour);
    void SetTicked(bool ticked, bool repaint = true);
    bool Ticked() const { return ticked_; }
    bool Hovered() const { return hover_; }

    // Text colours in the order normal, hover, pressed, disabled, ticked.
    void SetTextStyle(bool on, qreal points = 8, const QString& face = QStringLiteral("Tahoma Unicode MS"),
                      const std::array<QColor, 5>& colours = {Qt::white, Qt::white, Qt::white, Qt::gray, Qt::white},
                      int drawFormat = skin::DefaultDrawFormat);
    void SetMargins(int left, int right, int top, int bottom);
    // Escapement in tenths of a degree, counter-clockwise.
    void SetEscapement(int escapement, bool rotate);
    // Shown 300 ms after the mouse comes over the button, for as long as it
    // stays anywhere on it.
    void SetTipText(const QString& text);
    const QString& TipText() const { return tipText_; }
    static constexpr int TipDelayMs = 300;
    void SetAfterPaint(AfterPaint callback);
    // A colour laid over the face at `strengthPercent`; an invalid colour
    // takes it away. Only a change repaints.
    void SetTint(const QColor& colour, int strengthPercent);
    QColor Tint() const { return tint_; }

    // Which source the next paint shows.
    skin::ButtonFace CurrentFace() const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // The faces in the order of ButtonFace: normal, hover, pressed,
    // disabled, ticked, first and second override.
    enum FaceSlot : size_t { NormalSlot, HoverSlot, PressedSlot, DisabledSlot, TickedSlot, OverrideSlot, OverrideSecondSlot, SlotCount };
    static FaceSlot SlotOf(skin::ButtonFace face);
    QColor TextColourOf(skin::ButtonFace face) const;
    void DrawText(QPainter& painter, skin::ButtonFace face);
    void ShowTip();

    // Whole-window pictures (shared with every other button) until the
    // button is cut, its own parts after.
    std::array<QImage, SlotCount> faces_;
    bool cut_ = false;
    QPoint faceOrigin_{1, 1};
    bool overrideOn_ = false;
    bool overrideSecond_ = false;
    bool frameMode_ = false;
    QColor frameColour_;
    bool ticked_ = false;
    QColor tint_;
    bool hover_ = false;

    bool textOn_ = false;
    qreal textPoints_ = 8;
    QString textFace_ = QStringLiteral("Tahoma Unicode MS");
    std::array<QColor, 5> textColours_{Qt::white, Qt::white, Qt::white, Qt::gray, Qt::white};
    int drawFormat_ = skin::DefaultDrawFormat;
    int marginLeft_ = 0;
    int marginRight_ = 0;
    int marginTop_ = 0;
    int marginBottom_ = 0;
    int escapement_ = 0;
    bool rotate_ = false;

    QString tipText_;
    QTimer tipTimer_;

    AfterPaint afterPaint_;
};

}  // namespace trevolin::gui
