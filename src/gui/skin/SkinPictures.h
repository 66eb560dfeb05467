#pragma once

#include <QPixmap>
#include <QString>

namespace trevolin::gui {

// Every skin picture goes through here: read whole, checked, decoded once
// and kept for the rest of the run, so a window's second opening and every
// hover repaint cost no decoding, and the main window's two picture sets
// share one decoded copy.
//
// On a screen whose device pixel ratio is above 1 the picture's "@2x" twin
// ("main_normal@2x.jpg") is used when it is there and exactly twice the
// size of the picture; the pixmap then has ratio 2 and the same size in
// device-independent pixels. Otherwise the picture itself is used. Only
// the one that is used is decoded.
class SkinPictures {
public:
    // A picture that cannot be used is reported to SkinFailure; the result
    // is then a null pixmap.
    static QPixmap Load(const QString& path, qreal devicePixelRatio);
    // The same, decoded now and kept by nobody but the caller.
    static QPixmap LoadUncached(const QString& path, qreal devicePixelRatio);

    // The checks and decoding alone: an empty `error` on success.
    static QImage Decode(const QString& path, QString& error);

    static void Forget();
    static int DecodeCount();  // how many files have been decoded in all
};

}  // namespace trevolin::gui
