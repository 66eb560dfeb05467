// What a screen reader and a sighted user meet besides the keys' pictures:
// every control has a name, a key says what it does, Tab walks the window
// in reading order, and menus and message boxes wear the skin's colours.
#include "ProgramRig.h"
#include "core/app/MainWindowControls.h"
#include "core/base/SettingsStore.h"
#include "core/keyboard/KeyButtonState.h"
#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/PanelControls.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace trevolin::gui {
namespace {

using test::ProgramRig;

QString NameOf(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

QString DescriptionOf(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Description) : QString();
}

QString ScreenFolder()
{
    const QString folder = QStringLiteral(TREVOLIN_BINARY_DIR "/screens");
    QDir().mkpath(folder);
    return folder;
}

TEST(AccessibilityAndLookTest, EveryControlHasANameAndEveryKeySaysWhatItDoes)
{
    ProgramRig rig;
    rig.Start(false);
    rig.WaitForKeyboard();
    size_t named = 0;
    for (CPngButton* button : rig.Window().findChildren<CPngButton*>()) {
        if (button->isHidden())
            continue;
        EXPECT_FALSE(NameOf(button).isEmpty()) << button->objectName().toStdString();
        ++named;
    }
    EXPECT_GT(named, 140u);

    CPngButton* f5 = rig.Window().Button(keyboard::LastFlipKey + 1);
    ASSERT_TRUE(f5);
    EXPECT_EQ(NameOf(f5), QStringLiteral("F5"));
    EXPECT_FALSE(DescriptionOf(f5).isEmpty());
    EXPECT_EQ(DescriptionOf(f5), f5->TipText());
    CPngButton* g1 = rig.Window().Button(keyboard::GKeyControlIds()[0]);
    EXPECT_EQ(NameOf(g1), QStringLiteral("G1, A1"));
    EXPECT_EQ(NameOf(rig.Window().Button(lighting::control::Report1)), QStringLiteral("Report rate 1"));
}

// Tab goes row by row, left to right, and Space presses the focused button;
// Esc and Enter never close the window.
TEST(AccessibilityAndLookTest, TheKeyboardWalksThePageAndPressesButtons)
{
    ProgramRig rig;
    rig.Start(false);
    rig.WaitForKeyboard();
    CTrevolinDlg& window = rig.Window();
    QWidget* previous = nullptr;
    CPngButton* first = window.Button(app::control::LogoLink);
    ASSERT_TRUE(first);
    first->setFocus(Qt::TabFocusReason);
    QWidget* current = first;
    size_t steps = 0;
    for (; steps < 40; ++steps) {
        previous = current;
        current = previous->nextInFocusChain();
        while (current && current != previous && !(current->focusPolicy() & Qt::TabFocus && current->isVisible()))
            current = current->nextInFocusChain();
        if (!current || current == first)
            break;
        // Reading order: never back up a row.
        EXPECT_GE(current->geometry().center().y() + 12, previous->geometry().center().y())
            << previous->objectName().toStdString() << " -> " << current->objectName().toStdString();
    }
    EXPECT_EQ(steps, 40u);

    CPngButton* profile2 = window.Button(app::command::Profile2);
    profile2->setFocus(Qt::TabFocusReason);
    QTest::keyClick(profile2, Qt::Key_Space);
    QTRY_VERIFY_WITH_TIMEOUT(profile2->Ticked() && !rig.program->Model().Busy(), 10000);
    QTest::keyClick(&window, Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_TRUE(window.isVisible());
}

// Pictures a person looks at: the window, its menu and a message box in
// the skin's dark look.
TEST(AccessibilityAndLookTest, MenusAndMessageBoxesWearTheSkin)
{
    ProgramRig rig;
    rig.Start(false);
    rig.WaitForKeyboard();
    CTrevolinDlg& window = rig.Window();
    ASSERT_TRUE(window.grab().save(ScreenFolder() + QStringLiteral("/offscreen-main-window.png")));

    QTest::mouseClick(window.Button(app::control::ButtonMenu), Qt::LeftButton);
    QTRY_VERIFY(window.ButtonMenu().isVisible());
    // Under its button, not wherever the pointer was.
    const QPoint under = window.Button(app::control::ButtonMenu)->mapToGlobal(QPoint(0, 0));
    EXPECT_GT(window.ButtonMenu().geometry().top(), under.y());
    EXPECT_TRUE(window.ButtonMenu().grab().save(ScreenFolder() + QStringLiteral("/offscreen-menu.png")));
    const QColor menuBack = window.ButtonMenu().grab().toImage().pixelColor(20, 20);
    EXPECT_LT(menuBack.lightness(), 80) << menuBack.name().toStdString();
    window.ButtonMenu().hide();

    QMessageBox box(QMessageBox::Warning, QString(),
                    QStringLiteral("The changes did not reach the keyboard: the keyboard refused the write. They stay "
                                   "pending: press Apply to try again."),
                    QMessageBox::Ok, &window);
    box.show();
    QTRY_VERIFY(box.isVisible());
    const QImage picture = box.grab().toImage();
    EXPECT_TRUE(picture.save(ScreenFolder() + QStringLiteral("/offscreen-message-box.png")));
    EXPECT_LT(picture.pixelColor(4, 4).lightness(), 80) << picture.pixelColor(4, 4).name().toStdString();
}

// The system's language speaks until the user chooses one from the button
// menu; every text of the window and the tray follows at once.
TEST(AccessibilityAndLookTest, TheSystemLanguageSpeaksUntilTheMenuChoosesAnother)
{
    ProgramRig rig;
    rig.Start(true, false, "de_DE.UTF-8");
    rig.WaitForKeyboard();
    CTrevolinDlg& window = rig.Window();
    CPngButton* apply = window.Button(app::command::Apply);
    ASSERT_NE(apply, nullptr);
    EXPECT_EQ(apply->text(), QStringLiteral("\u00dcbernehmen"));
    EXPECT_TRUE(window.grab().save(ScreenFolder() + QStringLiteral("/offscreen-main-window-de.png")));
    const QString germanTip = rig.tray->tip;

    const auto submenu = [&window](const QString& title) -> QMenu* {
        for (QAction* action : window.ButtonMenu().actions())
            if (action->menu() && action->menu()->title() == title)
                return action->menu();
        return nullptr;
    };
    const auto entry = [](QMenu* menu, const QString& text) -> QAction* {
        for (QAction* action : menu->actions())
            if (action->text() == text)
                return action;
        return nullptr;
    };
    const base::SettingsStore settings(rig.dir.File("config/settings.ini"));
    const auto stored = [&settings] {
        return settings.GetDword(base::SettingsStore::LanguageKeyPath, base::SettingsStore::LanguageIdName);
    };

    QMenu* languages = submenu(QStringLiteral("Sprache"));
    ASSERT_NE(languages, nullptr);
    QAction* automatic = entry(languages, QStringLiteral("Automatisch (Systemsprache)"));
    ASSERT_NE(automatic, nullptr);
    EXPECT_TRUE(automatic->isChecked());
    EXPECT_EQ(stored(), std::nullopt);

    entry(languages, QStringLiteral("Fran\u00e7ais"))->trigger();
    EXPECT_EQ(apply->text(), QStringLiteral("Appliquer"));
    EXPECT_EQ(stored(), 0x040Cu);
    EXPECT_NE(rig.tray->tip, germanTip);
    EXPECT_NE(submenu(QStringLiteral("Profils")), nullptr);
    languages = submenu(QStringLiteral("Langue"));
    ASSERT_NE(languages, nullptr);
    EXPECT_TRUE(entry(languages, QStringLiteral("Fran\u00e7ais"))->isChecked());
    // The lighting panel's labels come back from the keyboard thread.
    const auto labelled = [&window](const QString& text) {
        const auto labels = window.findChildren<QLabel*>();
        return std::any_of(labels.begin(), labels.end(), [&text](QLabel* l) { return l->text() == text; });
    };
    QTRY_VERIFY(labelled(QStringLiteral("\u00c9clairage")));
    EXPECT_FALSE(labelled(QStringLiteral("Beleuchtung")));
    EXPECT_FALSE(entry(languages, QStringLiteral("Automatique (langue du syst\u00e8me)"))->isChecked());
    EXPECT_TRUE(window.grab().save(ScreenFolder() + QStringLiteral("/offscreen-main-window-fr.png")));

    entry(languages, QStringLiteral("Automatique (langue du syst\u00e8me)"))->trigger();
    EXPECT_EQ(apply->text(), QStringLiteral("\u00dcbernehmen"));
    EXPECT_EQ(stored(), 0u);
    EXPECT_EQ(rig.tray->tip, germanTip);
    EXPECT_TRUE(rig.asked.empty());
}

}  // namespace
}  // namespace trevolin::gui
