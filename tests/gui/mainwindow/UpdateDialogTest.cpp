// The firmware update dialog against the simulated keyboard: a file that is
// no program is refused before the keyboard is touched; Update with a
// program sends the boot request, the keyboard leaves the bus and the
// program runs.
#include "ProgramRig.h"

#include "gui/profiles/CTrevolin_DlgUpdate.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

namespace trevolin::gui {
namespace {

using test::ProgramRig;

TEST(UpdateDialogTest, UpdateChecksTheFileThenSendsTheBootRequestAndStartsTheProgram)
{
    ProgramRig rig;
    rig.Start(false);
    rig.WaitForKeyboard();
    CTrevolin_DlgUpdate* update = rig.program->UpdateDialog();
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(update->Show());
    QDir().mkpath(QStringLiteral(TREVOLIN_BINARY_DIR "/screens"));
    EXPECT_TRUE(update->grab().save(QStringLiteral(TREVOLIN_BINARY_DIR "/screens/firmware-update.png")));

    // Not a program: told, and the keyboard stays.
    const QString notes = QString::fromStdString(rig.dir.File("notes.txt"));
    QFile(notes).open(QIODevice::WriteOnly);
    update->Choose(notes);
    update->Button("CONTROL_UPButton")->click();
    EXPECT_NE(std::find(rig.asked.begin(), rig.asked.end(), "UPDATE_CHOOSE_FILE"), rig.asked.end());
    EXPECT_TRUE(rig.Window().KeyboardPresent());

    // A program: it runs in its own folder once the keyboard has gone into
    // its update mode (and off the bus).
    const QString program = QString::fromStdString(rig.dir.File("updater.sh"));
    const QString ran = QString::fromStdString(rig.dir.File("ran"));
    {
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\npwd > '%1'\n").arg(ran).toUtf8());
    }
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    update->Choose(program);
    update->Button("CONTROL_UPButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.Window().KeyboardPresent(), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ran), 20000);
    QFile written(ran);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()).trimmed(), QFileInfo(program).absolutePath());
    EXPECT_FALSE(update->isVisible());
    EXPECT_TRUE(update->Chosen().isEmpty());
    ASSERT_EQ(rig.kb.QlSimPlug(), 1);
}

}  // namespace
}  // namespace trevolin::gui
