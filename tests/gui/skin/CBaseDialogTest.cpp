// A skinned window takes its size from its background and its outline from
// its mask; a skin picture that cannot be used is reported, never a crash.

#include "SkinTestSupport.h"
#include "support/TempDir.h"

#include "gui/skin/CBaseDialog.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QWindow>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

namespace trevolin::gui {
namespace {

class SkinFolder {
public:
    std::string Ini(const std::string& text) const
    {
        const std::string path = dir_.File("Test.ini");
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.c_str());
        return path;
    }
    void Picture(const std::string& name, const QImage& image) const
    {
        EXPECT_TRUE(image.save(QString::fromStdString(dir_.File(name))));
    }
    void Bytes(const std::string& name, const QByteArray& bytes) const
    {
        QFile file(QString::fromStdString(dir_.File(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Encoded(const QImage& image, const char* format) const
    {
        const std::string path = dir_.File(std::string("encoded.") + format);
        EXPECT_TRUE(image.save(QString::fromStdString(path), format));
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    std::string Path(const std::string& name) const { return dir_.File(name); }

private:
    test::TempDir dir_;
};

// White with a black block at (10, 5) of 20 x 10 and one black pixel.
QImage BlockMask()
{
    QImage mask(40, 30, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter painter(&mask);
    painter.fillRect(QRect(10, 5, 20, 10), Qt::black);
    painter.end();
    mask.setPixel(0, 29, qRgb(254, 255, 255));
    return mask;
}

// The PNG chunk checksum, so a doctored header still reads as valid.
uint32_t Crc32(const QByteArray& bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

QImage Plain(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(CBaseDialogTest, TakesItsShapeAndSizeFromTheGeneratedSkin)
{
    test::SkinFailureRecorder failures;
    CBaseDialog dialog(test::GeneratedSkinFolder() + "Main.ini");
    ASSERT_TRUE(dialog.InitSkin());
    EXPECT_TRUE(failures.Failures().empty());
    EXPECT_EQ(dialog.size(), QSize(1248, 540));
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    const QRegion outline = dialog.WindowShape();
    // Rounded corners: the corner pixels are outside, the edges inside.
    for (QPoint outside : {QPoint(0, 0), QPoint(1247, 0), QPoint(0, 539), QPoint(1247, 539), QPoint(2, 2)}) {
        EXPECT_FALSE(outline.contains(outside)) << outside.x() << ',' << outside.y();
    }
    for (QPoint inside : {QPoint(624, 0), QPoint(0, 270), QPoint(1247, 270), QPoint(624, 539), QPoint(600, 300)}) {
        EXPECT_TRUE(outline.contains(inside)) << inside.x() << ',' << inside.y();
    }
    EXPECT_FALSE(dialog.Translucent());  // offscreen: no compositor
    // Shown, the desktop's window carries the outline.
    dialog.show();
    ASSERT_NE(dialog.windowHandle(), nullptr);
    EXPECT_EQ(dialog.windowHandle()->mask(), outline);
}

TEST(CBaseDialogTest, OutlineIsEveryPixelThatIsNotPureWhite)
{
    test::SkinFailureRecorder failures;
    SkinFolder skin;
    skin.Picture("back.png", Plain({40, 30}, Qt::darkBlue));
    skin.Picture("mask.png", BlockMask());
    skin.Picture("white.png", Plain({40, 30}, Qt::white));

    CBaseDialog shaped(QString::fromStdString(skin.Ini("[SCREEN]\nMain=back.png\nMask=mask.png\n")));
    ASSERT_TRUE(shaped.InitSkin());
    EXPECT_EQ(shaped.size(), QSize(40, 30));
    EXPECT_TRUE((shaped.Outline() ^ (QRegion(10, 5, 20, 10) + QRegion(0, 29, 1, 1))).isEmpty());

    // Without a "Mask" key the background shapes the window itself.
    skin.Picture("self.png", BlockMask());
    CBaseDialog selfShaped(QString::fromStdString(skin.Ini("[SCREEN]\nMain=self.png\n")));
    ASSERT_TRUE(selfShaped.InitSkin());
    EXPECT_TRUE((selfShaped.Outline() ^ (QRegion(10, 5, 20, 10) + QRegion(0, 29, 1, 1))).isEmpty());

    // An all-white mask leaves nothing of the window.
    CBaseDialog empty(QString::fromStdString(skin.Ini("[SCREEN]\nMain=back.png\nMask=white.png\n")));
    ASSERT_TRUE(empty.InitSkin());
    EXPECT_TRUE(empty.Outline().isEmpty());
    EXPECT_TRUE((empty.WindowShape() & QRegion(empty.rect())).isEmpty());
    EXPECT_TRUE(failures.Failures().empty());
}

TEST(CBaseDialogTest, APictureThatCannotBeUsedIsReportedByName)
{
    SkinFolder skin;
    const QImage back = Plain({64, 48}, Qt::darkGreen);
    const QByteArray jpeg = skin.Encoded(back, "jpg");
    const QByteArray png = skin.Encoded(back, "png");
    skin.Bytes("good.png", png);
    // A PNG header that claims 100000 x 100000 pixels.
    QByteArray huge = png;
    const char wide[4] = {0, 1, static_cast<char>(0x86), static_cast<char>(0xA0)};
    huge.replace(16, 4, QByteArray(wide, 4));
    huge.replace(20, 4, QByteArray(wide, 4));
    const uint32_t crc = Crc32(huge.mid(12, 17));
    const char crcBytes[4] = {static_cast<char>(crc >> 24), static_cast<char>(crc >> 16), static_cast<char>(crc >> 8),
                              static_cast<char>(crc)};
    huge.replace(29, 4, QByteArray(crcBytes, 4));

    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const std::vector<Case> cases = {
        {"missing.jpg", {}},
        {"empty.jpg", QByteArray("")},
        {"cut.jpg", jpeg.left(jpeg.size() / 2)},
        {"cut90.jpg", jpeg.left(jpeg.size() * 9 / 10)},
        {"cutend.jpg", jpeg.left(jpeg.size() - 2)},
        {"cut.png", png.left(png.size() - 20)},
        {"garbage.jpg", QByteArray("this is not a picture at all")},
        {"huge.png", huge},
    };
    for (const auto& c : cases) {
        test::SkinFailureRecorder failures;
        if (std::string(c.name) != "missing.jpg") {
            skin.Bytes(c.name, c.bytes);
        }
        for (const bool asMask : {false, true}) {
            const std::string ini = asMask ? "[SCREEN]\nMain=good.png\nMask=" + std::string(c.name) + "\n"
                                           : "[SCREEN]\nMain=" + std::string(c.name) + "\nMask=good.png\n";
            CBaseDialog dialog(QString::fromStdString(skin.Ini(ini)));
            EXPECT_FALSE(dialog.InitSkin()) << c.name;
        }
        ASSERT_EQ(failures.Failures().size(), 2u) << c.name;
        for (const auto& failure : failures.Failures()) {
            EXPECT_EQ(failure.file.toStdString(), skin.Path(c.name));
            EXPECT_FALSE(failure.reason.isEmpty());
        }
    }
}

TEST(CBaseDialogTest, WithoutAHandlerAnUnusablePictureEndsTheProgramWithExitCodeZero)
{
    SkinFolder skin;
    const QString ini = QString::fromStdString(skin.Ini("[SCREEN]\nMain=missing.jpg\n"));
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SkinFailure::SetHandler({});
            CBaseDialog dialog(ini);
            dialog.InitSkin();
            std::exit(3);  // not reached: the failure ends the program first
        },
        ::testing::ExitedWithCode(0), "trevolin: cannot use the skin picture .*/missing\\.jpg: the file is missing\n");
}

TEST(CBaseDialogTest, AMissingSkinFileIsReportedByName)
{
    test::SkinFailureRecorder failures;
    SkinFolder skin;
    CBaseDialog dialog(QString::fromStdString(skin.Path("Nothing.ini")));
    EXPECT_FALSE(dialog.InitSkin());
    ASSERT_EQ(failures.Failures().size(), 1u);
    EXPECT_EQ(failures.Failures()[0].file.toStdString(), skin.Path("Nothing.ini"));
}

TEST(CBaseDialogTest, DraggingTheSurfaceMovesTheWindow)
{
    test::SkinFailureRecorder failures;
    SkinFolder skin;
    skin.Picture("back.png", Plain({40, 30}, Qt::darkBlue));
    CBaseDialog dialog(QString::fromStdString(skin.Ini("[SCREEN]\nMain=back.png\n")));
    ASSERT_TRUE(dialog.InitSkin());
    dialog.move(100, 100);
    dialog.show();
    const QPoint start = dialog.pos();
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, dialog.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&dialog, &press);
    const QPointF to = dialog.mapToGlobal(at) + QPointF(30, 20);
    QMouseEvent drag(QEvent::MouseMove, at, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &drag);
    QMouseEvent release(QEvent::MouseButtonRelease, at, to, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &release);
    EXPECT_EQ(dialog.pos(), start + QPoint(30, 20));
    dialog.hide();
}

}  // namespace
}  // namespace trevolin::gui
