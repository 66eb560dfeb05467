// The key assignment dialog in the program against the simulated keyboard:
// a key pressed on the key page is what the keyboard's key then sends,
// Cancel keeps nothing, recording takes the key events' own timing, and
// every page draws.
#include "ProgramRig.h"

#include "core/keys/KeyAction.h"
#include "core/keyboard/KeyClick.h"
#include "core/keyboard/KeyboardLayout.h"
#include "core/keys/KeyNumber.h"
#include "core/keys/RawAction.h"
#include "core/profiles/KeyAssignment.h"
#include "core/profiles/StoreMacroList.h"
#include "gui/keyassign/Trevolin_DlgComposite.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <mutex>

namespace trevolin::gui {
namespace {

using test::ProgramRig;
using Code = std::array<uint8_t, 3>;

constexpr uint16_t KeyCodeA = 0x1E;
constexpr Code KeyA{2, 2, 0x04}, KeyB{2, 2, 0x05};
// X11 and Wayland give the evdev code plus 8.
constexpr quint32 NativeB = 48 + 8;
constexpr quint32 NativeC = 46 + 8;

class KeyAssignmentDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.Start(false);
        rig.WaitForKeyboard();
        dialog = rig.program->KeyAssignmentDialog();
        ASSERT_NE(dialog, nullptr);
    }

    void Open(uint16_t keyNumber)
    {
        ASSERT_TRUE(dialog->Show({0, keyNumber, false}));
        QCoreApplication::processEvents();
    }

    // A key event for `to`, the captured-key field unless said otherwise.
    void Key(QEvent::Type type, Qt::Key key, quint32 native, ulong timestamp = 0, bool repeat = false,
             QWidget* to = nullptr)
    {
        QKeyEvent event(type, key, Qt::NoModifier, native, 0, 0, QString(), repeat);
        event.setTimestamp(timestamp);
        QApplication::sendEvent(to ? to : dialog->CapturedKeyField(), &event);
    }
    void Recorded(QEvent::Type type, Qt::Key key, quint32 native, ulong timestamp, bool repeat = false)
    {
        Key(type, key, native, timestamp, repeat, dialog->EventList());
    }

    // The code the keyboard holds for a key, found by its own code in the
    // default map.
    Code On(const Code& key)
    {
        std::array<uint8_t, 512> defaults{}, map{};
        const int profile = rig.program->Keyboard().Session().ActiveProfileCache();
        EXPECT_EQ(rig.kb.QlSimReadArea(QL_SIM_AREA_DEFAULT_KEYMAP, 0, defaults.data(), 512), 1);
        EXPECT_EQ(rig.kb.QlSimReadArea(QL_SIM_AREA_KEYMAPS, static_cast<uint32_t>(profile * 512), map.data(), 512), 1);
        for (size_t p = 0; p < 126; ++p)
            if (Code{defaults[3 * p], defaults[3 * p + 1], defaults[3 * p + 2]} == key)
                return {map[3 * p], map[3 * p + 1], map[3 * p + 2]};
        ADD_FAILURE() << "key not in the default map";
        return {};
    }

    void Save(const char* name)
    {
        QDir().mkpath(QStringLiteral(TREVOLIN_BINARY_DIR "/screens"));
        EXPECT_TRUE(dialog->grab().save(QStringLiteral(TREVOLIN_BINARY_DIR "/screens/") + QLatin1String(name)));
    }

    ProgramRig rig;
    Trevolin_DlgComposite* dialog = nullptr;
};

TEST_F(KeyAssignmentDialogTest, AKeyPressedOnTheKeyPageIsWhatTheKeyboardKeySendsAfterOkAndApply)
{
    const auto keyNumber = static_cast<uint16_t>(keys::KeyNumberOf(KeyCodeA));
    ASSERT_EQ(On(KeyA), KeyA);

    // Cancel keeps nothing. A key pressed elsewhere on the page is not
    // taken (Tab moves on); the key list chooses too.
    Open(keyNumber);
    Key(QEvent::KeyPress, Qt::Key_C, NativeC, 0, false, dialog->MouseList());
    EXPECT_EQ(dialog->CapturedKeyField()->text(), QString());
    dialog->KeyList()->setCurrentIndex(dialog->KeyList()->findText(QStringLiteral("C")));
    emit dialog->KeyList()->activated(dialog->KeyList()->currentIndex());
    EXPECT_EQ(dialog->CapturedKeyField()->text(), QStringLiteral("C"));
    dialog->Button("CONTROL_CANCEL")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(rig.program->Model().ApplyPending());

    Open(keyNumber);
    Key(QEvent::KeyPress, Qt::Key_B, NativeB);
    // A held key's repeats and its release change nothing.
    Key(QEvent::KeyPress, Qt::Key_C, NativeC, 0, true);
    Key(QEvent::KeyRelease, Qt::Key_B, NativeB);
    EXPECT_EQ(dialog->CapturedKeyField()->text(), QStringLiteral("B"));
    // Enter and Escape never close the dialog.
    Key(QEvent::KeyPress, Qt::Key_Escape, 0);
    Key(QEvent::KeyPress, Qt::Key_Return, 0);
    EXPECT_TRUE(dialog->isVisible());
    dialog->Button("CONTROL_OK")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(rig.program->Model().ApplyPending());
    EXPECT_EQ(On(KeyA), KeyA);  // not on the keyboard before Apply

    bool applied = false;
    ASSERT_TRUE(rig.program->Model().ApplyChanges([&](bool ok) { applied = ok; }));
    QTRY_VERIFY_WITH_TIMEOUT(applied, 20000);
    EXPECT_EQ(On(KeyA), KeyB);
}

TEST_F(KeyAssignmentDialogTest, RecordingTakesTheKeyEventsOwnTiming)
{
    Open(static_cast<uint16_t>(keys::KeyNumberOf(KeyCodeA)));
    dialog->Button("CONTROL_MACRO")->click();
    dialog->Button("FUNC_MACRO_ADD")->click();
    ASSERT_EQ(dialog->MacroList()->count(), 1);
    if (!dialog->RecordDelayBox()->isChecked())
        dialog->RecordDelayBox()->click();
    dialog->Button("FUNC_MACRO_RECORD")->click();
    Recorded(QEvent::KeyPress, Qt::Key_B, NativeB, 5000);
    Recorded(QEvent::KeyPress, Qt::Key_B, NativeB, 5030, true);
    Recorded(QEvent::KeyRelease, Qt::Key_B, NativeB, 5080);
    dialog->Button("FUNC_MACRO_RECORD")->click();
    QTreeWidget* events = dialog->EventList();
    ASSERT_EQ(events->topLevelItemCount(), 2);
    EXPECT_EQ(events->topLevelItem(0)->text(0), QStringLiteral("B"));
    EXPECT_EQ(events->topLevelItem(0)->text(2), QStringLiteral("80"));
    EXPECT_EQ(events->topLevelItem(1)->text(2), QStringLiteral("0"));
    EXPECT_EQ(events->topLevelItem(0)->data(0, Qt::AccessibleTextRole).toString(), QStringLiteral("press B, 80 ms"));
    Save("key-assignment-macro.png");
    dialog->Button("CONTROL_CANCEL")->click();
}

// The keyboard alone edits a cell: arrows to the delay, F2, digits, Enter.
// Enter commits the cell and leaves the dialog open; the delay is kept in
// tens of milliseconds. Enter on the key cell opens the key list.
TEST_F(KeyAssignmentDialogTest, EventCellsAreEditedInPlaceFromTheKeyboard)
{
    Open(static_cast<uint16_t>(keys::KeyNumberOf(KeyCodeA)));
    dialog->Button("CONTROL_MACRO")->click();
    dialog->Button("FUNC_MACRO_ADD")->click();
    dialog->Button("FUNC_MACRO_RECORD")->click();
    Recorded(QEvent::KeyPress, Qt::Key_B, NativeB, 100);
    Recorded(QEvent::KeyRelease, Qt::Key_B, NativeB, 150);
    dialog->Button("FUNC_MACRO_RECORD")->click();
    QTreeWidget* events = dialog->EventList();
    ASSERT_EQ(events->topLevelItemCount(), 2);

    events->setFocus();
    events->setCurrentItem(events->topLevelItem(0), 0);
    QTest::keyClick(events, Qt::Key_Right);
    QTest::keyClick(events, Qt::Key_Right);
    ASSERT_EQ(events->currentColumn(), 2);
    QTest::keyClick(events, Qt::Key_F2);
    auto* editor = events->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->clear();
    QTest::keyClicks(editor, QStringLiteral("12345"));
    EXPECT_EQ(editor->text(), QStringLiteral("12345"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits the cell, then the list is shown again.
    QTRY_COMPARE(events->topLevelItem(0)->text(2), QStringLiteral("12340"));
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(events->topLevelItemCount(), 2);

    events->setFocus();
    events->setCurrentItem(events->topLevelItem(1), 0);
    QTest::keyClick(events, Qt::Key_Return);
    auto* keys = events->viewport()->findChild<QComboBox*>();
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->count(), 106);
    EXPECT_EQ(keys->currentText(), QStringLiteral("B"));
    QTest::keyClick(keys, Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    dialog->Button("CONTROL_CANCEL")->click();
}

// A code another program left on a key (a consumer usage this program has
// no page for) is shown and kept through OK unless something else is chosen.
TEST_F(KeyAssignmentDialogTest, ACodeLeftByAnotherProgramIsShownAndKept)
{
    const auto keyNumber = static_cast<uint16_t>(keys::KeyNumberOf(KeyCodeA));
    const int profile = rig.program->Keyboard().Session().ActiveProfileCache();
    const keys::ActionCode code{keys::ActionCode::ClassConsumer, 0x99, 0x01};
    ASSERT_TRUE(profiles::StoreRawKeyAssignment(rig.program->Keyboard().Store(), profile, keyNumber, code));
    Open(keyNumber);
    EXPECT_EQ(dialog->CapturedKeyField()->text(), QString::fromStdString(keys::RawCodeText(code)));
    dialog->Button("CONTROL_OK")->click();
    profiles::ProfileStore& store = rig.program->Keyboard().Store();
    std::lock_guard lock(store.Lock());
    const auto stored = keys::TryReadKeyAction(
        store.Image().Entry(profiles::ProfileImage::SlotOf(static_cast<size_t>(profile), keyNumber)));
    ASSERT_TRUE(stored);
    EXPECT_EQ(keys::RawCodeOf(*stored), code);
}

// The macro button opens the macro page alone, centred; OK puts the chosen
// macro on G9 of the bank shown.
TEST_F(KeyAssignmentDialogTest, TheMacroButtonOpensTheMacroPageAloneAndOkPutsTheMacroOnG9)
{
    const uint16_t g9 = keyboard::GKeyNumber(keyboard::GKeyCount - 1, false);
    ASSERT_TRUE(dialog->Show({keyboard::MacroOnlyControlId, g9, true}));
    EXPECT_TRUE(dialog->EventList()->isVisible());
    for (const char* page : {"CONTROL_KEY", "CONTROL_MEDIA", "CONTROL_FUNCTION", "CONTROL_CLEAR"})
        EXPECT_FALSE(dialog->Button(page)->isEnabled()) << page;
    dialog->Button("FUNC_MACRO_ADD")->click();
    dialog->PlayCountField()->setText(QStringLiteral("300"));
    emit dialog->PlayCountField()->editingFinished();
    EXPECT_EQ(dialog->PlayCountField()->text(), QStringLiteral("255"));
    dialog->Button("CONTROL_OK")->click();
    EXPECT_FALSE(dialog->isVisible());

    const int profile = rig.program->Keyboard().Session().ActiveProfileCache();
    profiles::ProfileStore& store = rig.program->Keyboard().Store();
    std::lock_guard lock(store.Lock());
    const auto stored =
        keys::TryReadKeyAction(store.Image().Entry(profiles::ProfileImage::SlotOf(static_cast<size_t>(profile), g9)));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->kind, keys::KeyAction::Macro);
    EXPECT_NE(stored->value, 0u);
    EXPECT_EQ(stored->extra, 255u);
}

// While the dialog is open a profile switch is refused with its message;
// a question the dialog asks can outlive the dialog (the keyboard left
// while it waited): the dialog has closed as by Cancel and nothing is
// deleted.
TEST_F(KeyAssignmentDialogTest, ProfileSwitchesWaitAndAQuestionMayOutliveTheDialog)
{
    const auto keyNumber = static_cast<uint16_t>(keys::KeyNumberOf(KeyCodeA));
    Open(keyNumber);
    const int before = rig.program->Keyboard().Session().ActiveProfileCache();
    EXPECT_TRUE(rig.program->Model().SelectProfile(before == 0 ? 1 : 0));
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program->Model().Busy(), 20000);
    EXPECT_NE(std::find(rig.asked.begin(), rig.asked.end(), "PROFILE_SEELCT_PROMPT2"), rig.asked.end());
    EXPECT_EQ(rig.program->Keyboard().Session().ActiveProfileCache(), before);

    // A stored macro that the key plays.
    dialog->Button("CONTROL_MACRO")->click();
    dialog->Button("FUNC_MACRO_ADD")->click();
    dialog->Button("CONTROL_OK")->click();
    Open(keyNumber);
    dialog->Button("CONTROL_MACRO")->click();
    ASSERT_EQ(dialog->MacroList()->count(), 1);
    QtPrompts::SetAnswerer([this](std::string_view key, bool) {
        rig.asked.push_back(std::string(key));
        dialog->CancelDialog();
        return true;
    });
    dialog->Button("FUNC_MACRO_DELETE")->click();
    EXPECT_FALSE(dialog->isVisible());
    std::vector<macros::Macro> stored;
    ASSERT_TRUE(profiles::ReadMacroList(rig.program->Keyboard().Store(), stored));
    EXPECT_EQ(stored.size(), 1u);
}

// The keyboard leaves while the dialog is open: it closes as by Cancel
// and the key it edited shows its normal look.
TEST_F(KeyAssignmentDialogTest, TheDialogClosesAsByCancelWhenTheKeyboardLeaves)
{
    CPngButton* g1 = rig.Window().Button(keyboard::GKeyControlIds()[0]);
    ASSERT_NE(g1, nullptr);
    ASSERT_TRUE(dialog->Show({keyboard::GKeyControlIds()[0], keyboard::GKeyNumber(0, false), false}));
    EXPECT_TRUE(g1->isDown());
    Key(QEvent::KeyPress, Qt::Key_B, NativeB);
    ASSERT_EQ(rig.kb.QlSimUnplug(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 10000);
    EXPECT_FALSE(g1->isDown());
    EXPECT_FALSE(rig.program->Model().ApplyPending());
    ASSERT_EQ(rig.kb.QlSimPlug(), 1);
}

TEST_F(KeyAssignmentDialogTest, EveryPageDraws)
{
    Open(static_cast<uint16_t>(keys::KeyNumberOf(KeyCodeA)));
    Key(QEvent::KeyPress, Qt::Key_B, NativeB);
    Save("key-assignment-key.png");
    dialog->Button("CONTROL_MEDIA")->click();
    EXPECT_TRUE(dialog->MediaList()->isVisible());
    EXPECT_FALSE(dialog->CapturedKeyField()->isVisible());
    EXPECT_EQ(dialog->MediaList()->count(), 18);
    Save("key-assignment-media.png");
    dialog->Button("CONTROL_FUNCTION")->click();
    EXPECT_EQ(dialog->FunctionList()->count(), 11);
    Save("key-assignment-function.png");
    dialog->Button("CONTROL_CANCEL")->click();
}

}  // namespace
}  // namespace trevolin::gui
