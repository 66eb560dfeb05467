// The small skinned widgets: the button's own tip, the link, the coloured
// label, and the background blended by its mask's edge.

#include "gui/skin/CBaseDialog.h"
#include "gui/skin/CColorStatic.h"
#include "gui/skin/CHyperLink.h"
#include "gui/skin/CPngButton.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QToolTip>

#include <gtest/gtest.h>

namespace trevolin::gui {
namespace {

// Runs the event loop until `done` or a generous bound passes.
template <typename Done>
bool WaitFor(Done done)
{
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

TEST(SkinWidgetsTest, TheButtonsTipShowsWhileTheMouseIsOverIt)
{
    QWidget window;
    window.resize(200, 100);
    CPngButton button(&window);
    button.setGeometry(10, 10, 60, 24);
    button.SetTipText(QStringLiteral("Help"));
    window.show();

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    ASSERT_TRUE(WaitFor([] { return QToolTip::isVisible(); }));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Help"));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_TRUE(WaitFor([] { return !QToolTip::isVisible(); }));
}

TEST(SkinWidgetsTest, TheLinkOpensItsTargetAndSaysWhenItCannot)
{
    std::vector<QUrl> opened;
    std::vector<QString> complaints;
    bool succeed = true;
    auto previousOpener = CHyperLink::SetOpener([&](const QUrl& url) {
        opened.push_back(url);
        return succeed;
    });
    auto previousComplaint =
        CHyperLink::SetComplaint([&](QWidget*, const QString& message) { complaints.push_back(message); });

    CHyperLink link;
    link.resize(120, 20);
    link.SetLink(QStringLiteral("Trevolin"), QStringLiteral("https://example.org/trevolin"));
    auto click = [&] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&link, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(&link, &release);
    };
    click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://example.org/trevolin")));
    EXPECT_TRUE(complaints.empty());

    succeed = false;
    click();
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_EQ(complaints[0], QStringLiteral("Unable to open hyperlink:\n\nhttps://example.org/trevolin"));

    // Over it the link underlines; a relative link is a file beside the program.
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&link, &enter);
    EXPECT_TRUE(link.font().underline());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&link, &leave);
    EXPECT_FALSE(link.font().underline());
    EXPECT_EQ(CHyperLink::UrlOf(QStringLiteral("Help/index.html"), QStringLiteral("/opt/trevolin")),
              QUrl::fromLocalFile(QStringLiteral("/opt/trevolin/Help/index.html")));

    CHyperLink::SetOpener(std::move(previousOpener));
    CHyperLink::SetComplaint(std::move(previousComplaint));
}

TEST(SkinWidgetsTest, ColouredLabelDrawsInItsColourOverTheBackground)
{
    QWidget window;
    window.resize(100, 30);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(10, 20, 30));
    window.setPalette(palette);
    CColorStatic label(&window);
    label.setGeometry(0, 0, 100, 30);
    label.setText(QStringLiteral("\u2588\u2588\u2588"));
    label.SetFontHeight(24);
    label.SetTextColor(QColor(250, 100, 0));
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.pixelColor(99, 29), QColor(10, 20, 30));  // the background shows through
    bool coloured = false;
    for (int x = 0; x < 40 && !coloured; ++x) {
        coloured = shot.pixelColor(x, 15) == QColor(250, 100, 0);
    }
    EXPECT_TRUE(coloured);
}

TEST(SkinWidgetsTest, ShapedBackgroundTakesItsOpacityFromTheMask)
{
    QImage background(3, 1, QImage::Format_RGB32);
    background.fill(QColor(200, 100, 50));
    QImage mask(3, 1, QImage::Format_RGB32);
    mask.setPixel(0, 0, qRgb(0, 0, 0));
    mask.setPixel(1, 0, qRgb(128, 128, 128));
    mask.setPixel(2, 0, qRgb(255, 255, 255));
    const QImage shaped = CBaseDialog::ShapedBackground(background, mask);
    EXPECT_EQ(qAlpha(shaped.pixel(0, 0)), 255);
    EXPECT_NEAR(qAlpha(shaped.pixel(1, 0)), 127, 1);
    EXPECT_EQ(qAlpha(shaped.pixel(2, 0)), 0);
}

}  // namespace
}  // namespace trevolin::gui
