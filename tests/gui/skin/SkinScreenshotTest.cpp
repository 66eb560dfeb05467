// The generated main window as a person sees it: the skinned dialog with
// its image buttons placed from Main.ini, a few in other states, written
// to build/test/screens for a look.

#include "SkinTestSupport.h"

#include "gui/skin/CBaseDialog.h"
#include "gui/skin/CColorStatic.h"
#include "gui/skin/CPngButton.h"
#include "gui/skin/SkinLayout.h"

#include "core/keyboard/KeyboardLayout.h"
#include "core/skin/MainSkin.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QLabel>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace trevolin::gui {
namespace {

class MainWindowShot {
public:
    explicit MainWindowShot(qreal ratio) : dialog_(test::GeneratedSkinFolder() + "Main.ini")
    {
        EXPECT_TRUE(dialog_.InitSkin());
        const QString folder = dialog_.SkinFolder();
        for (auto picture : {skin::MainPicture::Normal, skin::MainPicture::Over, skin::MainPicture::Down,
                             skin::MainPicture::Disable}) {
            pictures_[picture] =
                SkinPictures::Load(folder + QString::fromStdString(std::string(skin::MainPictureFile(picture))), ratio);
        }
        const QPixmap arrows = SkinPictures::Load(folder + "Arrow.jpg", ratio);
        for (const auto& key : skin::MainImageButtonKeys()) {
            auto button = std::make_unique<CPngButton>(&dialog_);
            if (key == skin::main_skin::LeftArrowKey || key == skin::main_skin::RightArrowKey) {
                const std::string face =
                    key == skin::main_skin::LeftArrowKey ? "DOWN_ARROW_LEFT1" : "DOWN_ARROW_RIGHT1";
                SkinLayout::PlaceButtonWithFaceKey(*button, dialog_.Skin(), skin::SkinIni::ButtonInfo, key,
                                                   skin::SkinIni::ButtonInfo2, face, arrows);
            } else {
                const auto look = *skin::MainButtonPicturesOf(key);
                SkinLayout::PlaceImageButton(*button, dialog_.Skin(), skin::SkinIni::ButtonInfo, key,
                                             {pictures_[skin::MainPicture::Normal], pictures_[look.hover],
                                              pictures_[look.pressed], pictures_[look.disabled],
                                              pictures_[look.ticked]});
            }
            buttons_[key] = std::move(button);
        }
    }

    CPngButton& Button(const std::string& key) { return *buttons_.at(key); }
    CBaseDialog& Dialog() { return dialog_; }
    const QPixmap& Picture(skin::MainPicture picture) { return pictures_[picture]; }

    void Caption(const std::string& key, const QString& text, qreal points = 9)
    {
        auto& button = Button(key);
        button.setText(text);
        button.SetTextStyle(
            true, points, QStringLiteral("Arial Unicode MS"),
            {QColor(0xe8, 0xec, 0xf2), Qt::white, Qt::white, QColor(0x6a, 0x70, 0x7c), QColor(0x2f, 0xa8, 0xff)});
    }

    void Label(const std::string& key, const QString& text, QColor colour = QColor(0x8a, 0x93, 0xa3))
    {
        auto* label = new CColorStatic(&dialog_);
        SkinLayout::PlaceControl(*label, dialog_.Skin(), skin::SkinIni::ButtonInfo, key);
        label->setText(text);
        label->SetTextColor(colour);
        label->SetFontHeight(12);
    }

    void PanelPicture(const std::string& key, const QString& file)
    {
        auto* label = new QLabel(&dialog_);
        SkinLayout::PlaceControl(*label, dialog_.Skin(), skin::SkinIni::ButtonInfo, key);
        label->setPixmap(dialog_.Picture(file));
    }

private:
    CBaseDialog dialog_;
    std::map<skin::MainPicture, QPixmap> pictures_;
    std::map<std::string, std::unique_ptr<CPngButton>> buttons_;
};

TEST(SkinScreenshotTest, MainWindowWithButtonsInTheirStates)
{
    test::SkinFailureRecorder failures;
    MainWindowShot shot(1.0);
    // What the window writes at run time over the pictures.
    shot.Caption("FUNC_PROFILE1", "Profile 1");
    shot.Caption("FUNC_PROFILE2", "Profile 2");
    shot.Caption("FUNC_PROFILE3", "Profile 3");
    shot.Caption("FUNC_MACRO", "Macros");
    shot.Caption("FUNC_DEFAULT", "Default");
    shot.Caption("CONTROL_OK", "OK");
    shot.Caption("CONTROL_CANCEL", "Cancel");
    shot.Caption("CONTROL2_APPLY", "Apply", 10);
    auto& name = shot.Button("FUNC_PROFILES");
    name.setText("Default profile");
    name.SetTextStyle(true, 10, QStringLiteral("Arial Unicode MS"),
                      {Qt::white, QColor(255, 130, 0), QColor(255, 155, 4), QColor(127, 127, 127), Qt::white}, 40);
    name.SetEscapement(268, true);
    for (size_t g = 0; g < keyboard::GKeyCount; ++g) {
        auto& key = shot.Button("FUNC_G" + std::to_string(g + 1));
        if (g < keyboard::GKeysEnabledAtStart) {
            key.setText(QStringLiteral("A%1").arg(g + 1));
            key.SetTextStyle(true, 8, QStringLiteral("Arial Unicode MS"),
                             {QColor(0x2f, 0xa8, 0xff), Qt::white, Qt::white, Qt::gray, Qt::white});
            key.SetMargins(-14, 0, 0, 0);
        } else {
            key.setEnabled(false);
        }
    }
    shot.Button("FUNC_PROFILE1").SetTicked(true);
    shot.Button("FUNC_REPORT1").SetTicked(true);
    shot.Button("LOCK_NUM").SetTicked(true);
    shot.Button("KEY_012").SetTicked(true);  // the key being edited
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
    QApplication::sendEvent(&shot.Button("KEY_022"), &enter);
    QApplication::sendEvent(&shot.Button("FUNC_MACRO"), &enter);

    shot.Label("CONTROL_DengStatic", "LIGHTING", QColor(0xe8, 0xec, 0xf2));
    shot.PanelPicture("CONTROL_DengStaPic", "dengdown.bmp");
    shot.Label("CONTROL_LightStatic", "Brightness");
    shot.PanelPicture("CONTROL_LightSlider", "4.bmp");
    shot.Label("CONTROL_SpeedStatic", "Speed");
    shot.PanelPicture("CONTROL_SpeedSlider", "8.bmp");
    shot.Label("CONTROL_BLFXStatic2", "Direction");
    shot.PanelPicture("CONTROL_BLFXLStaPic2", "leftdown.bmp");
    shot.PanelPicture("CONTROL_BLFXRStaPic2", "rightup.bmp");
    shot.Label("CONTROL_HXysStatic", "Color");
    shot.Label("CONTROL_HXsjsStatic", "Multicolor");
    shot.PanelPicture("CONTROL_HXsjsStaPic", "sjsdown.bmp");
    shot.Label("CONTROL_UsbStatic", "Report rate");
    shot.Label("CONTROL_RGBStatic", "RGB");
    for (int i = 1; i <= 8; ++i) {
        shot.PanelPicture("CONTROL_Color" + std::to_string(i), QStringLiteral("Color%1.bmp").arg(i));
    }
    shot.PanelPicture("CONTROL_JDTStatic", "jdt3.bmp");

    const QImage image = shot.Dialog().grab().toImage();
    EXPECT_TRUE(failures.Failures().empty());
    ASSERT_EQ(image.size(), QSize(1248, 540));

    // Key A in its normal state shows main_normal.jpg one pixel up and left.
    const QRect a = shot.Button("KEY_01E").geometry();
    const QImage normal = shot.Picture(skin::MainPicture::Normal).toImage();
    EXPECT_EQ(image.pixel(a.center()), normal.pixel(a.center() - QPoint(1, 1)));
    // The hovered G key differs from the normal picture; the ticked profile
    // button shows main_disable.jpg.
    const QRect profile = shot.Button("FUNC_PROFILE1").geometry();
    const QImage ticked = shot.Picture(skin::MainPicture::Disable).toImage();
    EXPECT_EQ(image.pixel(profile.topLeft() + QPoint(3, 3)), ticked.pixel(profile.topLeft() + QPoint(2, 2)));

    QDir().mkpath(QStringLiteral(TREVOLIN_BINARY_DIR "/screens"));
    EXPECT_TRUE(image.save(QStringLiteral(TREVOLIN_BINARY_DIR "/screens/main-window.png")));
}

TEST(SkinScreenshotTest, DoubleSizeSkinOnAHighDensityScreen)
{
    test::SkinFailureRecorder failures;
    MainWindowShot shot(2.0);
    const QPixmap normal = shot.Picture(skin::MainPicture::Normal);
    EXPECT_EQ(normal.devicePixelRatio(), 2.0);
    EXPECT_EQ(normal.size(), QSize(2496, 1080));
    EXPECT_EQ(normal.deviceIndependentSize().toSize(), QSize(1248, 540));
    // Rendered at twice the density, the keys are drawn from the double-size
    // pictures, not scaled up.
    QPixmap canvas(QSize(1248, 540) * 2);
    canvas.setDevicePixelRatio(2.0);
    canvas.fill(Qt::black);
    shot.Dialog().render(&canvas);
    QDir().mkpath(QStringLiteral(TREVOLIN_BINARY_DIR "/screens"));
    EXPECT_TRUE(canvas.save(QStringLiteral(TREVOLIN_BINARY_DIR "/screens/main-window@2x.png")));
    EXPECT_TRUE(failures.Failures().empty());
}

}  // namespace
}  // namespace trevolin::gui
