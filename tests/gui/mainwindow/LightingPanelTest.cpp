// The lighting panel of the main window against the simulated keyboard:
// what each effect shows, what a control writes, how a drag on a slow
// keyboard is sent, painting keys, and the preview on the keys.
#include "ProgramRig.h"

#include "core/device/KeyboardCommands.h"
#include "core/device/MainWindowLink.h"
#include "core/lighting/LightingRecord.h"
#include "core/lighting/PanelControls.h"
#include "core/lighting/preview/PreviewKeys.h"
#include "gui/lighting/CImageSlider.h"
#include "gui/lighting/CLightingPanel.h"
#include "gui/lighting/CPictureButton.h"
#include "gui/lighting/KeyPreview.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <array>

namespace trevolin::gui {
namespace {

namespace lc = lighting::control;
using test::ProgramRig;

// The keyboard's lighting writes since the log was cleared: field writes
// (command 6) at `offset` when given.
int LightingWrites(sim::SimKeyboardControl& kb, std::optional<uint16_t> offset = std::nullopt)
{
    int writes = 0;
    for (int i = 0; i < kb.QlSimLogCount(); ++i) {
        uint8_t report[64];
        if (kb.QlSimLogGet(uint32_t(i), report) != 1 || report[3] != device::KeyboardCommands::CmdWriteLighting)
            continue;
        const uint16_t at = static_cast<uint16_t>(report[5] | (report[6] << 8));
        if (!offset || at == *offset)
            ++writes;
    }
    return writes;
}

uint8_t LightingByte(sim::SimKeyboardControl& kb, int profile, uint8_t field)
{
    uint8_t value = 0;
    EXPECT_EQ(kb.QlSimReadArea(QL_SIM_AREA_LIGHTING, lighting::LightingRecord::Offset(profile, field), &value, 1), 1);
    return value;
}

class LightingPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.Start(false);
        rig.WaitForKeyboard();
        WaitIdle();
        panel = rig.Window().LightingPanel();
        ASSERT_NE(panel, nullptr);
    }

    // Nothing waits on the keyboard thread and the window has shown it.
    void WaitIdle()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!rig.program->Keyboard().Worker().Busy() && !rig.program->Model().Busy(), 20000);
        QCoreApplication::processEvents();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.program->Keyboard().Worker().Busy(), 20000);
        QCoreApplication::processEvents();
    }

    QWidget* Control(uint16_t id) { return panel->Control(id); }
    QComboBox* Effects() { return static_cast<QComboBox*>(Control(lc::XGcombox)); }

    void TurnViewOn()
    {
        auto* toggle = static_cast<CPictureButton*>(Control(lc::DengStaPic));
        if (!toggle->isChecked())
            QTest::mouseClick(toggle, Qt::LeftButton);
        WaitIdle();
        ASSERT_TRUE(toggle->isChecked());
    }

    // As the user chooses in the open list.
    void ChooseEffect(const QString& name)
    {
        const int index = Effects()->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        Effects()->setCurrentIndex(index);
        emit Effects()->activated(index);
        WaitIdle();
    }

    ProgramRig rig;
    CLightingPanel* panel = nullptr;
};

TEST_F(LightingPanelTest, EachEffectShowsItsControlsAndTheViewHidesThem)
{
    // With the view off only the toggle, the report rate, RGB and the
    // presets are there.
    EXPECT_TRUE(Control(lc::DengStaPic)->isVisible());
    EXPECT_FALSE(Control(lc::XGcombox)->isVisible());
    EXPECT_FALSE(Control(lc::LightSlider)->isVisible());
    EXPECT_TRUE(Control(lc::Color1)->isVisible());

    TurnViewOn();
    EXPECT_EQ(Effects()->count(), 19);
    // The wheel and the arrow keys never step the list: each step would be
    // a write.
    ASSERT_EQ(rig.kb.QlSimLogClear(), 1);
    const int shown = Effects()->currentIndex();
    QWheelEvent wheel(QPointF(10, 10), Effects()->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Effects(), &wheel);
    Effects()->setFocus();
    QTest::keyClick(Effects(), Qt::Key_Down);
    Effects()->hidePopup();
    WaitIdle();
    EXPECT_EQ(Effects()->currentIndex(), shown);
    EXPECT_EQ(LightingWrites(rig.kb), 0);
    ChooseEffect(QStringLiteral("Preset color"));
    const std::array effectControls = {lc::LightSlider, lc::SpeedSlider, lc::BLFXLStaPic, lc::BLFXRStaPic,
                                       lc::HXysButton,  lc::HXsjsStaPic, lc::FYYSButton,  lc::FYSJSStaPic,
                                       lc::HongPic,     lc::HuangPic,    lc::LvPic,       lc::LanPic,
                                       lc::UmCombo,     lc::USERysButton, lc::USERjsButton, lc::USERgjStaPic1};
    for (const uint16_t id : effectControls) {
        const bool expected = id == lc::LightSlider || id == lc::HongPic || id == lc::HuangPic || id == lc::LvPic ||
                              id == lc::LanPic;
        EXPECT_EQ(Control(id)->isVisible(), expected) << id;
    }
    EXPECT_EQ(LightingByte(rig.kb, 0, lighting::LightingRecord::Effect), 17);
    // A colour choice is a picture the user clicks: it is written and shown.
    QTest::mouseClick(Control(lc::LvPic), Qt::LeftButton);
    WaitIdle();
    EXPECT_EQ(LightingByte(rig.kb, 0, lighting::LightingRecord::ColourChoice), 2);
    EXPECT_TRUE(static_cast<CPictureButton*>(Control(lc::LvPic))->isChecked());
    EXPECT_FALSE(static_cast<CPictureButton*>(Control(lc::HongPic))->isChecked());

    // Effect 12's direction group sits where the skin's "3" names say, with
    // up and down for names.
    ChooseEffect(QStringLiteral("Vertical wave"));
    EXPECT_TRUE(Control(lc::BLFXLStaPic)->isVisible());
    EXPECT_EQ(Control(lc::BLFXLStaPic)->accessibleName(), QStringLiteral("Up"));

    QTest::mouseClick(Control(lc::DengStaPic), Qt::LeftButton);
    WaitIdle();
    EXPECT_FALSE(Control(lc::XGcombox)->isVisible());
    EXPECT_FALSE(Control(lc::LightSlider)->isVisible());
    EXPECT_TRUE(Control(lc::Color1)->isVisible());
}

TEST_F(LightingPanelTest, SlidersWriteTheirFieldAndADragOnASlowKeyboardSendsItsEnd)
{
    TurnViewOn();
    ChooseEffect(QStringLiteral("Wave"));
    auto* speed = static_cast<CImageSlider*>(Control(lc::SpeedSlider));
    // The left end is the fastest: speed 4.
    QTest::mouseClick(speed, Qt::LeftButton, {}, QPoint(1, speed->height() / 2));
    WaitIdle();
    EXPECT_EQ(LightingByte(rig.kb, 0, lighting::LightingRecord::Speed), 4);
    QTest::mouseClick(speed, Qt::LeftButton, {}, QPoint(speed->width() - 1, speed->height() / 2));
    WaitIdle();
    EXPECT_EQ(LightingByte(rig.kb, 0, lighting::LightingRecord::Speed), 0);

    // Five moves while each write takes 150 ms: the first goes at once, the
    // other four wait, and only the last of them is sent.
    auto* brightness = static_cast<CImageSlider*>(Control(lc::LightSlider));
    ASSERT_EQ(rig.kb.QlSimLogClear(), 1);
    rig.kb.QlSimSetLatency(150);
    brightness->setSliderDown(true);
    for (const int position : {3, 2, 1, 0, 2}) {
        brightness->setSliderPosition(position);
        QCoreApplication::processEvents();
    }
    brightness->setSliderDown(false);
    WaitIdle();
    rig.kb.QlSimSetLatency(0);
    const uint16_t field = lighting::LightingRecord::Offset(0, lighting::LightingRecord::Brightness);
    EXPECT_GE(LightingWrites(rig.kb, field), 1);
    EXPECT_LE(LightingWrites(rig.kb, field), 2);
    EXPECT_EQ(LightingByte(rig.kb, 0, lighting::LightingRecord::Brightness), 2);
    EXPECT_EQ(brightness->value(), 2);
}

// The keyboard changed its lighting by itself: the window reads it and
// shows it, and showing it writes nothing back.
TEST_F(LightingPanelTest, ARefreshFromTheKeyboardWritesNothing)
{
    TurnViewOn();
    ChooseEffect(QStringLiteral("Wave"));
    const uint8_t brightness = 1;
    ASSERT_EQ(rig.kb.QlSimWriteArea(QL_SIM_AREA_LIGHTING,
                                    lighting::LightingRecord::Offset(0, lighting::LightingRecord::Brightness),
                                    &brightness, 1),
              1);
    ASSERT_EQ(rig.kb.QlSimLogClear(), 1);
    rig.program->Model().OnTimer(device::TIMER_LIGHTING_REFRESH);
    WaitIdle();
    EXPECT_EQ(static_cast<CImageSlider*>(Control(lc::LightSlider))->value(), 1);
    EXPECT_EQ(LightingWrites(rig.kb), 0);
}

TEST_F(LightingPanelTest, AKeyClickedInPerKeyColoursIsPaintedOnTheKeyboardAndTheKey)
{
    TurnViewOn();
    ChooseEffect(QStringLiteral("Per-key colors"));
    EXPECT_TRUE(Control(lc::UmCombo)->isVisible());
    const lighting::RgbColor paint =
        rig.program->Keyboard().Call([&] { return rig.program->Keyboard().Lighting().Editor().Settings().paintColour; });
    CPngButton* f1 = rig.Window().Button(lighting::preview::key::F1);
    ASSERT_NE(f1, nullptr);
    QTest::mouseClick(f1, Qt::LeftButton);
    WaitIdle();
    // F1's light is position 2: bytes 6 to 8 of profile 1's page.
    uint8_t page[3] = {};
    ASSERT_EQ(rig.kb.QlSimReadArea(QL_SIM_AREA_KEY_COLORS, 6, page, 3), 1);
    EXPECT_EQ(page[0], paint.red);
    EXPECT_EQ(page[1], paint.green);
    EXPECT_EQ(page[2], paint.blue);
    EXPECT_EQ(f1->Tint().rgb(), QColor(paint.red, paint.green, paint.blue).rgb());
    // No key assignment dialog was asked for: the view paints.
    EXPECT_FALSE(rig.program->Model().Busy());
}

TEST_F(LightingPanelTest, ThePreviewTintsKeysOnlyWithTheViewOnAndWhileTheWindowIsShown)
{
    KeyPreview& preview = *rig.Window().Preview();
    CPngButton* f1 = rig.Window().Button(lighting::preview::key::F1);
    EXPECT_FALSE(preview.Running());
    EXPECT_FALSE(f1->Tint().isValid());

    TurnViewOn();
    ChooseEffect(QStringLiteral("Wave"));
    EXPECT_TRUE(preview.Running());
    QTRY_VERIFY_WITH_TIMEOUT(f1->Tint().isValid(), 2000);

    // A frame repaints the keys whose tint changed, never the window's
    // background under them.
    struct PaintCounter final : QObject {
        int window = 0;
        int keys = 0;
        QWidget* watchedWindow = nullptr;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                ++(watched == watchedWindow ? window : keys);
            return false;
        }
    } counter;
    counter.watchedWindow = &rig.Window();
    QCoreApplication::instance()->installEventFilter(&counter);
    for (int frame = 0; frame < 5; ++frame) {
        preview.RunFrame();
        QCoreApplication::processEvents();
    }
    QCoreApplication::instance()->removeEventFilter(&counter);
    EXPECT_EQ(counter.window, 0);
    EXPECT_GT(counter.keys, 5 * 50);

    rig.Window().hide();
    EXPECT_FALSE(preview.Running());
    rig.Window().show();
    EXPECT_TRUE(preview.Running());

    QTest::mouseClick(Control(lc::DengStaPic), Qt::LeftButton);
    WaitIdle();
    EXPECT_FALSE(preview.Running());
    EXPECT_FALSE(f1->Tint().isValid());
}

TEST_F(LightingPanelTest, NumberFieldsKeepAtMost255)
{
    auto* red = static_cast<QLineEdit*>(Control(lc::ColorR));
    red->setFocus();
    QTest::keyClicks(red, QStringLiteral("300"));
    EXPECT_EQ(red->text(), QStringLiteral("255"));
    // A preset fills the fields once the keyboard has it.
    red->clearFocus();
    QTest::mouseClick(Control(lighting::ColourPresets()[1].id), Qt::LeftButton);
    WaitIdle();
    EXPECT_EQ(red->text(), QStringLiteral("255"));
    EXPECT_EQ(static_cast<QLineEdit*>(Control(lc::ColorG))->text(), QStringLiteral("0"));
}

// The panel as a user sees it, for a look: effects 1, 17 and 20 with a few
// keys painted.
TEST_F(LightingPanelTest, Screenshots)
{
    TurnViewOn();
    QDir().mkpath(QStringLiteral(TREVOLIN_BINARY_DIR "/screens"));
    ChooseEffect(QStringLiteral("Wave"));
    rig.Window().Preview()->RunFrame();
    EXPECT_TRUE(rig.Window().grab().save(QStringLiteral(TREVOLIN_BINARY_DIR "/screens/lighting-effect-1.png")));
    ChooseEffect(QStringLiteral("Preset color"));
    EXPECT_TRUE(rig.Window().grab().save(QStringLiteral(TREVOLIN_BINARY_DIR "/screens/lighting-effect-17.png")));
    ChooseEffect(QStringLiteral("Per-key colors"));
    for (const uint16_t key : {lighting::preview::key::Esc, lighting::preview::key::F1, lighting::preview::key::F5})
        QTest::mouseClick(rig.Window().Button(key), Qt::LeftButton);
    WaitIdle();
    EXPECT_TRUE(rig.Window().Button(lighting::preview::key::F5)->Tint().isValid());
    EXPECT_TRUE(rig.Window().grab().save(QStringLiteral(TREVOLIN_BINARY_DIR "/screens/lighting-effect-20.png")));
}

}  // namespace
}  // namespace trevolin::gui
