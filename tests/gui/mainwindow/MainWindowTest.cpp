// The main window's wiring, offscreen, on the simulated keyboard: what the
// model decides reaches the widgets, and the widgets' clicks reach the
// model and the keyboard thread.
#include "ProgramRig.h"

#include "gui/keyassign/Trevolin_DlgComposite.h"

#include "gui/skin/SkinPictures.h"

#include "core/app/MainWindowControls.h"
#include "core/keyboard/KeyButtonState.h"
#include "core/keyboard/KeyboardLayout.h"
#include "core/skin/SkinIni.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace trevolin::gui {
namespace {

using test::ProgramRig;

// Commands of the keyboard's memory writes among those the keyboard got.
int KeymapWrites(sim::SimKeyboardControl& kb)
{
    int writes = 0;
    for (int i = 0; i < kb.QlSimLogCount(); ++i) {
        uint8_t report[64];
        if (kb.QlSimLogGet(uint32_t(i), report) == 1 && report[3] == 8)
            ++writes;
    }
    return writes;
}

TEST(MainWindowTest, TheWindowTakesItsShapeAndEveryKeySitsWhereTheSkinSays)
{
    ProgramRig rig;
    rig.Start(true);
    CTrevolinDlg& window = rig.Window();
    EXPECT_EQ(window.size(), window.BackgroundSize());
    EXPECT_FALSE(window.Outline().isEmpty());
    EXPECT_FALSE(window.Outline().contains(QPoint(0, 0)));  // the rounded corner is outside
    size_t placed = 0;
    keyboard::ForEachKey(
        [&](keyboard::KeyRef key) {
            CPngButton* button = window.Button(keyboard::ControlIdOf(key));
            ASSERT_NE(button, nullptr) << keyboard::SkinNameOf(key);
            const auto rect = window.Skin().Rect(skin::SkinIni::ButtonInfo, keyboard::SkinNameOf(key)).rect;
            EXPECT_EQ(button->geometry(), QRect(rect.x, rect.y, rect.w, rect.h)) << keyboard::SkinNameOf(key);
            ++placed;
        },
        keyboard::FnKeyVisit::Last);
    EXPECT_EQ(placed, keyboard::LayoutKeyCount + keyboard::GKeyCount + 1);

    // Once drawn, the window keeps only the parts of its picture that
    // see-through controls need; a whole repaint (a grab, a show after a
    // hide) decodes it again and lets it go afterwards. A point between
    // two keys shows the picture.
    rig.WaitForKeyboard();
    // A whole repaint of the arrival lets the picture go when the event
    // loop next comes round.
    QTRY_VERIFY(!window.HoldsWholeBackground());
    QPoint gap;
    for (int y = 140; y < 360 && gap.isNull(); y += 3) {
        for (int x = 120; x < 900 && gap.isNull(); x += 3) {
            if (!window.childAt(QPoint(x, y)) && window.Outline().contains(QPoint(x, y)))
                gap = QPoint(x, y);
        }
    }
    ASSERT_FALSE(gap.isNull());
    const QImage drawn = window.grab().toImage();
    const QImage picture =
        SkinPictures::LoadUncached(window.SkinFolder() + QString::fromStdString(window.Skin().BackgroundName()), 1.0)
            .toImage();
    EXPECT_EQ(drawn.pixel(gap), picture.pixel(gap)) << gap.x() << "," << gap.y();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.HoldsWholeBackground());
}

// The first arrival, with the keyboard present at start: the tray icon is
// made, the window shows once the keyboard has been read, and a key click
// reaches the key assignment's entry point with the key's number in the
// bank the keyboard shows.
TEST(MainWindowTest, KeyClicksReachTheKeyAssignmentWithTheBankShown)
{
    ProgramRig rig;
    rig.Start(true);
    rig.WaitForKeyboard();
    QTRY_VERIFY(rig.Window().isVisible());
    EXPECT_TRUE(rig.tray->shown);
    EXPECT_EQ(rig.program->Tray().CurrentIcon(), device::ICON_PRESENT);

    QSignalSpy assign(&rig.Window(), &CTrevolinDlg::KeyAssignmentRequested);
    // The dialog runs modally: once it shows, the test notes the key it
    // edits and cancels it.
    Trevolin_DlgComposite* dialog = rig.program->KeyAssignmentDialog();
    ASSERT_NE(dialog, nullptr);
    std::vector<uint16_t> edited;
    const auto cancelOnceOpen = [&] {
        QTimer::singleShot(0, dialog, [&] {
            edited.push_back(dialog->Target().keyNumber);
            dialog->Button("CONTROL_CANCEL")->click();
        });
    };
    CPngButton* g1 = rig.Window().Button(keyboard::GKeyControlIds()[0]);
    ASSERT_TRUE(g1 && g1->isEnabled());
    cancelOnceOpen();
    QTest::mouseClick(g1, Qt::LeftButton);
    ASSERT_EQ(assign.count(), 1);
    EXPECT_EQ(assign[0][1].toUInt(), keyboard::GKeyNumberBase);
    EXPECT_EQ(g1->text(), QStringLiteral("A1"));
    ASSERT_EQ(edited.size(), 1u);
    EXPECT_EQ(edited[0], keyboard::GKeyNumberBase);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(g1->isDown());

    ASSERT_EQ(rig.kb.QlSimSendConsumerCode(device::ConsumerBankSwitch), 1);
    QTRY_VERIFY(rig.Window().Button(app::control::LockAb)->Ticked());
    EXPECT_EQ(g1->text(), QStringLiteral("B1"));
    cancelOnceOpen();
    QTest::mouseClick(g1, Qt::LeftButton);
    ASSERT_EQ(assign.count(), 2);
    EXPECT_EQ(assign[1][1].toUInt(), keyboard::GKeyNumberBase + keyboard::GKeyBankOffset);
    ASSERT_EQ(edited.size(), 2u);
    EXPECT_EQ(edited[1], keyboard::GKeyNumberBase + keyboard::GKeyBankOffset);
}

// Restore defaults, then Apply, on a slow keyboard: the busy indicator
// runs (its frames advance, so the window keeps painting) while the
// keyboard thread writes, and Apply is disabled once it has finished.
TEST(MainWindowTest, ApplyRunsOnTheKeyboardThreadWhileTheBusyIndicatorMoves)
{
    ProgramRig rig;
    rig.Start(true);
    rig.WaitForKeyboard();
    rig.kb.QlSimLogClear();
    rig.kb.QlSimSetLatency(15);
    rig.yes = true;
    QTest::mouseClick(rig.Window().Button(app::command::RestoreDefaults), Qt::LeftButton);
    EXPECT_EQ(rig.asked, (std::vector<std::string>{"MAIN_PROMPT_DEFAULT"}));
    QTRY_VERIFY(rig.Window().BusyIndicator()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(rig.Window().BusyFrame() >= 3, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!rig.Window().BusyIndicator()->isVisible(), 20000);
    EXPECT_GT(KeymapWrites(rig.kb), 0);
    EXPECT_FALSE(rig.Window().Button(app::command::Apply)->isEnabled());
    EXPECT_FALSE(rig.program->Keyboard().Profiles().ChangesPending());
}

// A keyboard that leaves: with a tray the window hides and the tray shows
// picture 128; without one the window stays, its keyboard controls off.
TEST(MainWindowTest, AKeyboardThatLeavesHidesTheWindowOrDisablesIt)
{
    for (const bool withTray : {true, false}) {
        SCOPED_TRACE(withTray ? "with a tray" : "without a tray");
        ProgramRig rig;
        rig.Start(withTray);
        rig.WaitForKeyboard();
        QTRY_VERIFY(rig.Window().isVisible());
        ASSERT_EQ(rig.kb.QlSimUnplug(), 1);
        QTRY_VERIFY(!rig.Window().KeyboardPresent());
        CPngButton* key = rig.Window().Button(keyboard::LayoutKeys()[0].controlId);
        EXPECT_FALSE(key->isEnabled());
        if (withTray) {
            QTRY_VERIFY(!rig.Window().isVisible());
            QTRY_COMPARE(rig.program->Tray().CurrentIcon(), device::ICON_ABSENT);
        } else {
            EXPECT_TRUE(rig.Window().isVisible());
        }
        ASSERT_EQ(rig.kb.QlSimPlug(), 1);
        rig.WaitForKeyboard();
        EXPECT_TRUE(key->isEnabled());
    }
}

// "/Start": the keyboard is found but the window stays in the tray, until
// the tray's Open; Esc and the window manager's close hide it again and
// never end the program.
TEST(MainWindowTest, StartedHiddenTheWindowWaitsForTheTray)
{
    ProgramRig rig;
    rig.Start(true, true);
    rig.WaitForKeyboard();
    QTest::qWait(50);
    EXPECT_FALSE(rig.Window().isVisible());
    rig.tray->Click(QSystemTrayIcon::DoubleClick);
    QTRY_VERIFY(rig.Window().isVisible());
    QTest::keyClick(&rig.Window(), Qt::Key_Escape);
    EXPECT_TRUE(rig.Window().isVisible());
    rig.Window().close();
    EXPECT_FALSE(rig.Window().isVisible());
    EXPECT_FALSE(rig.program->Ended());

    // The tray menu's Exit ends the program, through the exit path.
    ASSERT_NE(rig.tray->menu, nullptr);
    rig.tray->menu->actions().last()->trigger();
    QTRY_VERIFY(rig.program->Ended());
    EXPECT_EQ(rig.program->ExitCode(), 0);
}

// The flip setting decides F1 to F4 whatever refreshes the keys after it:
// a profile switch redraws every key and must not bring them back.
TEST(MainWindowTest, FlipHoldsThroughARefreshOfTheKeys)
{
    ProgramRig rig;
    rig.Start(true);
    rig.WaitForKeyboard();
    CPngButton* f1 = rig.Window().Button(keyboard::FirstFlipKey);
    CPngButton* f5 = rig.Window().Button(keyboard::LastFlipKey + 1);
    ASSERT_TRUE(f1 && f5);
    ASSERT_TRUE(f1->isEnabled());
    QTest::mouseClick(rig.Window().Button(app::command::FlipLeft), Qt::LeftButton);
    EXPECT_FALSE(f1->isEnabled());

    QTest::mouseClick(rig.Window().Button(app::command::Profile2), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(rig.Window().Button(app::command::Profile2)->Ticked() && !rig.program->Model().Busy(),
                             10000);
    // The new profile's key looks came from the keyboard thread before the
    // switch's end did.
    EXPECT_FALSE(f1->isEnabled());
    EXPECT_TRUE(f5->isEnabled());
    QTest::mouseClick(rig.Window().Button(app::command::FlipRight), Qt::LeftButton);
    EXPECT_TRUE(f1->isEnabled());
}

// A slow keyboard is being read, not missing: the window says so, with the
// busy indicator turning, until the keys are there.
TEST(MainWindowTest, ASlowKeyboardReadsAsBeingRead)
{
    ProgramRig rig;
    rig.kb.QlSimSetLatency(40);
    rig.Start(false);
    QTRY_VERIFY_WITH_TIMEOUT(rig.Window().NoticeLabel()->isVisible() &&
                                 rig.Window().NoticeLabel()->text().startsWith(QStringLiteral("Reading")),
                             10000);
    QTRY_VERIFY_WITH_TIMEOUT(rig.Window().BusyIndicator()->isVisible(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(rig.Window().KeyboardPresent() && !rig.program->Model().Busy(), 60000);
    EXPECT_FALSE(rig.Window().NoticeLabel()->isVisible());
    EXPECT_FALSE(rig.Window().BusyIndicator()->isVisible());
}

// A keyboard that answers nothing is said to be unreadable, its keys stay
// off, and "Read again" reads it once it answers.
TEST(MainWindowTest, AnUnreadableKeyboardIsToldAndReadAgainOnRequest)
{
    ProgramRig rig;
    ASSERT_EQ(rig.kb.QlSimRefuseWrites(-1), 1);
    rig.Start(false);
    QPushButton* again = rig.Window().ReadAgainButton();
    QTRY_VERIFY_WITH_TIMEOUT(again->isVisible() && !rig.program->Model().Busy(), 10000);
    EXPECT_TRUE(rig.Window().NoticeLabel()->isVisible());
    EXPECT_TRUE(rig.Window().NoticeLabel()->text().startsWith(QStringLiteral("Trevolin could not read the keyboard")))
        << rig.Window().NoticeLabel()->text().toStdString();
    EXPECT_EQ(again->accessibleName(), QStringLiteral("Read again"));
    EXPECT_FALSE(rig.Window().KeyboardPresent());
    EXPECT_FALSE(rig.Window().Button(app::command::Profile1)->Ticked());
    EXPECT_FALSE(rig.Window().Button(app::command::Profile1)->isEnabled());

    ASSERT_EQ(rig.kb.QlSimRefuseWrites(0), 1);
    QTest::keyClick(again, Qt::Key_Space);
    QTRY_VERIFY_WITH_TIMEOUT(rig.Window().KeyboardPresent() && !rig.program->Model().Busy(), 10000);
    EXPECT_FALSE(again->isVisible());
    EXPECT_FALSE(rig.Window().NoticeLabel()->isVisible());
    EXPECT_TRUE(rig.Window().Button(app::command::Profile1)->Ticked());
}

}  // namespace
}  // namespace trevolin::gui
