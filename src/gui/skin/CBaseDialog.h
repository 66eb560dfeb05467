#pragma once

#include "core/skin/SkinIni.h"
#include "gui/skin/CPngButton.h"

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPoint>
#include <QRegion>

#include <string>
#include <vector>

namespace trevolin::gui {

// The base of every skinned window: frameless, the size of its background
// picture, shaped by its mask picture, moved by dragging its surface.
//
// The skin ini ("SCREEN": "Main" the background, "Mask" the outline,
// "Main" when absent) is named at construction; InitSkin loads it. A
// picture that is missing or cannot be decoded goes to SkinFailure, which
// ends the program unless a handler says otherwise.
class CBaseDialog : public QDialog {
    Q_OBJECT

public:
    explicit CBaseDialog(QString iniPath, QWidget* parent = nullptr);

    // Reads the ini, loads background and mask, takes the background's
    // size and the mask's outline. False when a picture could not be used.
    bool InitSkin();

    const skin::SkinIni& Skin() const { return skin_; }
    // The folder the skin's pictures are named relative to.
    QString SkinFolder() const;
    // A picture of this window's skin folder, through the shared cache.
    QPixmap Picture(const QString& name) const;

    // The size of the window's picture, which is the window's.
    QSize BackgroundSize() const { return backgroundSize_; }
    // Keeps of the window's picture only what lies under `region` (where
    // see-through controls may need it again); a repaint that reaches
    // further (a show after a hide, a button that hides) decodes the
    // picture from the skin again for that once. The rest of the time the
    // window costs no picture of its whole size.
    void KeepBackgroundOnlyUnder(const QRegion& region);
    // Whether the whole picture is held now (tests).
    bool HoldsWholeBackground() const { return !background_.isNull() || !shapedBackground_.isNull(); }
    const QRegion& Outline() const { return outline_; }
    // The shape given to the desktop's window: the outline, or a speck
    // outside the window when the outline is empty.
    QRegion WindowShape() const;
    // Whether the outline's edge is blended with what lies under the window
    // (only where a compositor runs).
    bool Translucent() const { return translucent_; }

    // The outline a mask gives: every pixel that is not pure white.
    static QRegion OutlineOf(const QImage& mask);
    // The background with the mask's darkness as its opacity: black inside,
    // the anti-aliased grey of the edge partly, pure white not at all.
    static QImage ShapedBackground(const QImage& background, const QImage& mask);
    // Whether a compositor draws the desktop (Wayland always; on X11 when
    // the compositing manager's selection has an owner).
    static bool CompositorRuns();

    // OK and Cancel release the pictures and end the dialog.
    void OnOK();
    void OnCancel();

protected:
    // A skinned button placed by `skinKey` of the ini's button section, with
    // the dialogs' text style, named for its key.
    CPngButton* AddSkinButton(const std::string& skinKey, const CPngButton::Sources& sources);
    // A title label across the top, where the dialogs' skins leave room.
    QLabel* AddTitle();

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ReleasePictures();
    void ShapeWindow();
    // The picture as it is drawn (shaped where translucent), from the skin.
    QPixmap DecodeBackground() const;

    struct Piece {
        QRect rect;  // in the window
        QPixmap picture;
    };
    std::vector<Piece> pieces_;
    QRegion kept_;
    bool partial_ = false;  // the whole picture is let go once drawn
    QSize backgroundSize_;

    QString iniPath_;
    skin::SkinIni skin_;
    QPixmap background_;
    QPixmap shapedBackground_;  // with the mask as alpha, when translucent
    QRegion outline_;
    bool translucent_ = false;
    bool dragging_ = false;
    QPoint dragOffset_;
};

}  // namespace trevolin::gui
