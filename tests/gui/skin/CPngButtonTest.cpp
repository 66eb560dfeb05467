// An image button shows the part of the state picture under it, cut one
// pixel up and left of its face origin, and the state decides the picture.

#include "SkinTestSupport.h"

#include "gui/skin/CPngButton.h"
#include "gui/skin/SkinLayout.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

namespace trevolin::gui {
namespace {

// A whole-window picture whose every pixel tells which picture it is
// (red) and where it lies (green x, blue y).
QPixmap Marked(int id, qreal ratio = 1.0)
{
    QImage image(QSize(200, 120) * ratio, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(id * 36, static_cast<int>(x / ratio), static_cast<int>(y / ratio)));
        }
    }
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

struct Seen {
    int picture;
    int x;
    int y;
};

Seen SeenAt(CPngButton& button, QPoint at)
{
    const QImage shot = button.grab().toImage();
    const QRgb pixel = shot.pixel(at);
    return {qRed(pixel) / 36, qGreen(pixel), qBlue(pixel)};
}

class CPngButtonTest : public ::testing::Test {
protected:
    CPngButtonTest()
    {
        window_.resize(200, 120);
        ini_.LoadText("/skin/Test.ini", "[BUTTONINFO]\nFUNC_ADD=10,20,60,24\nBROKEN=10,20\n");
        sources_ = {Marked(1), Marked(2), Marked(3), Marked(4), Marked(5)};
    }

    void Hover(CPngButton& button, bool on)
    {
        if (on) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QApplication::sendEvent(&button, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(&button, &leave);
        }
    }

    QWidget window_;
    skin::SkinIni ini_;
    CPngButton::Sources sources_;
};

TEST_F(CPngButtonTest, EachStateCutsItsPictureOnePixelUpAndLeft)
{
    CPngButton button(&window_);
    const auto reading = SkinLayout::PlaceImageButton(button, ini_, skin::SkinIni::ButtonInfo, "FUNC_ADD", sources_);
    ASSERT_EQ(reading.status, skin::SkinRectStatus::Ok);
    EXPECT_EQ(button.geometry(), QRect(10, 20, 60, 24));
    EXPECT_TRUE(button.isEnabled());

    struct Step {
        const char* state;
        std::function<void()> enter;
        int picture;
    };
    const std::vector<Step> steps = {
        {"normal", [] {}, 1},
        {"ticked", [&] { button.SetTicked(true); }, 5},
        {"hover over ticked", [&] { Hover(button, true); }, 2},
        {"pressed over hover", [&] { button.setDown(true); }, 3},
        {"released, still hovered", [&] { button.setDown(false); }, 2},
        {"left, still ticked", [&] { Hover(button, false); }, 5},
        {"disabled over ticked", [&] { button.setEnabled(false); }, 4},
    };
    // From the whole pictures, then from the button's own parts of them.
    for (const bool cut : {false, true}) {
        if (cut) {
            button.setEnabled(true);
            button.SetTicked(false);
            button.KeepOnlyOwnPart();
            // Five opaque parts of 60 x 24 at three bytes a pixel.
            EXPECT_EQ(button.OwnPictureBytes(), 5 * 60 * 24 * 3);
        }
        for (const auto& step : steps) {
            step.enter();
            // The corners of the button show (9, 19) and (68, 42) of the picture.
            const Seen topLeft = SeenAt(button, QPoint(0, 0));
            const Seen bottomRight = SeenAt(button, QPoint(59, 23));
            EXPECT_EQ(topLeft.picture, step.picture) << step.state << " cut " << cut;
            EXPECT_EQ(bottomRight.picture, step.picture) << step.state << " cut " << cut;
            EXPECT_EQ(std::make_pair(topLeft.x, topLeft.y), std::make_pair(9, 19)) << step.state << " cut " << cut;
            EXPECT_EQ(std::make_pair(bottomRight.x, bottomRight.y), std::make_pair(68, 42))
                << step.state << " cut " << cut;
        }
    }
}

TEST_F(CPngButtonTest, OverrideFrameAndAfterPaint)
{
    CPngButton button(&window_);
    SkinLayout::PlaceImageButton(button, ini_, skin::SkinIni::ButtonInfo, "FUNC_ADD", sources_);
    std::vector<bool> painted;
    button.SetAfterPaint([&](CPngButton&, bool normalShown) { painted.push_back(normalShown); });

    button.SetOverride(Marked(6), Marked(7), true, false);
    button.setDown(true);
    EXPECT_EQ(SeenAt(button, QPoint(0, 0)).picture, 6);
    button.SetOverride(Marked(6), Marked(7), true, true);
    EXPECT_EQ(SeenAt(button, QPoint(0, 0)).picture, 7);
    button.SetOverride({}, {}, false, false);
    button.setDown(false);
    EXPECT_EQ(SeenAt(button, QPoint(0, 0)).picture, 1);
    EXPECT_EQ(painted, (std::vector<bool>{false, false, true}));

    // A frame two pixels wide, one pixel in; the picture does not show.
    button.SetFrameMode(true, QColor(0, 255, 0));
    const QImage shot = button.grab().toImage();
    EXPECT_EQ(shot.pixelColor(1, 5), QColor(0, 255, 0));
    EXPECT_EQ(shot.pixelColor(2, 5), QColor(0, 255, 0));
    EXPECT_EQ(shot.pixelColor(58, 5), QColor(0, 255, 0));
}

TEST_F(CPngButtonTest, DoubleSizePicturesCutTheSamePlace)
{
    CPngButton button(&window_);
    SkinLayout::PlaceImageButton(button, ini_, skin::SkinIni::ButtonInfo, "FUNC_ADD",
                                 {Marked(1, 2.0), Marked(2, 2.0), Marked(3, 2.0), Marked(4, 2.0), Marked(5, 2.0)});
    const Seen topLeft = SeenAt(button, QPoint(0, 0));
    const Seen bottomRight = SeenAt(button, QPoint(59, 23));
    EXPECT_EQ(topLeft.picture, 1);
    EXPECT_NEAR(topLeft.x, 9, 1);
    EXPECT_NEAR(topLeft.y, 19, 1);
    EXPECT_NEAR(bottomRight.x, 68, 1);
    EXPECT_NEAR(bottomRight.y, 42, 1);
}

TEST_F(CPngButtonTest, AButtonTheSkinLeavesOutIsDisabled)
{
    for (const char* key : {"NOT_IN_THE_SKIN", "BROKEN"}) {
        CPngButton button(&window_);
        SkinLayout::PlaceImageButton(button, ini_, skin::SkinIni::ButtonInfo, key, sources_);
        EXPECT_EQ(button.geometry(), QRect(1, 1, 1, 1)) << key;
        EXPECT_FALSE(button.isEnabled()) << key;
        button.SetTicked(true);
        EXPECT_EQ(button.CurrentFace(), skin::ButtonFace::Disabled) << key;
    }
}

TEST_F(CPngButtonTest, HoverRepaintsFromDecodedPictures)
{
    test::SkinFailureRecorder failures;
    const QString folder = test::GeneratedSkinFolder();
    const int before = SkinPictures::DecodeCount();
    CPngButton::Sources sources;
    sources.normal = SkinPictures::Load(folder + "main_normal.jpg", 1.0);
    sources.hover = SkinPictures::Load(folder + "main_over.jpg", 1.0);
    sources.pressed = SkinPictures::Load(folder + "main_down.jpg", 1.0);
    sources.disabled = SkinPictures::Load(folder + "main_disable.jpg", 1.0);
    sources.ticked = sources.disabled;
    // The window's second set of the same pictures decodes nothing more.
    const QPixmap secondNormal = SkinPictures::Load(folder + "main_normal.jpg", 1.0);
    EXPECT_EQ(SkinPictures::DecodeCount() - before, 4);
    EXPECT_EQ(secondNormal.cacheKey(), sources.normal.cacheKey());

    skin::SkinIni ini;
    ASSERT_TRUE(ini.Load((folder + "Main.ini").toStdString()));
    QWidget window;
    window.resize(1248, 540);
    CPngButton key(&window);
    SkinLayout::PlaceImageButton(key, ini, skin::SkinIni::ButtonInfo, "KEY_01E", sources);
    const QImage normal = key.grab().toImage();
    Hover(key, true);
    const QImage hovered = key.grab().toImage();
    Hover(key, false);
    EXPECT_EQ(SkinPictures::DecodeCount() - before, 4);
    EXPECT_NE(normal, hovered);
    EXPECT_EQ(key.grab().toImage(), normal);
    EXPECT_TRUE(failures.Failures().empty());
}

}  // namespace
}  // namespace trevolin::gui
