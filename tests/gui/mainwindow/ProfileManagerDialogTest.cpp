// The profile manager in the program against the simulated keyboard: Apply
// switches the keyboard and the window follows; files are kept and their
// rows stay apart from the keyboard's.
#include "ProgramRig.h"

#include "core/app/MainWindowControls.h"
#include "gui/profiles/CTrevolin_DlgProfile.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

namespace trevolin::gui {
namespace {

using test::ProgramRig;

class ProfileManagerDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.Start(false);
        rig.WaitForKeyboard();
        manager = rig.program->ProfileManager();
        ASSERT_NE(manager, nullptr);
    }

    void Tick(int row)
    {
        manager->List()->topLevelItem(row)->setCheckState(0, Qt::Checked);
    }

    ProgramRig rig;
    CTrevolin_DlgProfile* manager = nullptr;
};

TEST_F(ProfileManagerDialogTest, ApplySwitchesTheKeyboardAndTheWindowFollows)
{
    ASSERT_TRUE(manager->Show());
    ASSERT_EQ(manager->List()->topLevelItemCount(), 3);
    EXPECT_EQ(manager->List()->topLevelItem(0)->text(1), QStringLiteral("Profile 1"));
    EXPECT_EQ(manager->List()->topLevelItem(0)->checkState(0), Qt::Checked);
    EXPECT_FALSE(manager->Button("CONTROL2_APPLY")->isEnabled());

    Tick(2);
    EXPECT_EQ(manager->List()->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_TRUE(manager->Modified());
    manager->Button("CONTROL2_APPLY")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.program->Model().Busy(), 20000);
    EXPECT_EQ(rig.program->Keyboard().Session().ActiveProfileCache(), 2);
    EXPECT_TRUE(rig.Window().Button(app::command::Profile3)->Ticked());
    EXPECT_FALSE(manager->Modified());

    QDir().mkpath(QStringLiteral(TREVOLIN_BINARY_DIR "/screens"));
    EXPECT_TRUE(manager->grab().save(QStringLiteral(TREVOLIN_BINARY_DIR "/screens/profile-manager.png")));
    manager->Button("CONTROL_CANCEL")->click();
    EXPECT_FALSE(manager->IsOpen());
}

// Add writes a default profile to the chosen file and keeps its row; the
// keyboard's rows cannot be deleted, a file row can, and the kept files
// come back at the next opening.
TEST_F(ProfileManagerDialogTest, FilesAreAddedKeptAndDeletedWithoutTouchingTheKeyboardsRows)
{
    ASSERT_TRUE(manager->Show());
    const QString file = QString::fromStdString(rig.dir.File("games.tvl"));
    manager->SetNextFile(file);
    manager->Button("FUNC_ADD")->click();
    ASSERT_EQ(manager->List()->topLevelItemCount(), 4);
    EXPECT_TRUE(QFileInfo(file).isFile());
    EXPECT_EQ(manager->List()->topLevelItem(3)->text(1), QStringLiteral("games"));
    // A file row has no tick box.
    EXPECT_FALSE(manager->List()->topLevelItem(3)->flags() & Qt::ItemIsUserCheckable);

    manager->SetNextFile(QString::fromStdString(rig.dir.File("no-such-folder/x.tvl")));
    manager->Button("FUNC_ADD")->click();
    EXPECT_EQ(manager->List()->topLevelItemCount(), 4);
    EXPECT_NE(std::find(rig.asked.begin(), rig.asked.end(), "PROFILE_ADD_FAILED"), rig.asked.end());

    manager->Button("CONTROL_OK")->click();
    EXPECT_FALSE(manager->isVisible());
    ASSERT_TRUE(manager->Show());
    ASSERT_EQ(manager->List()->topLevelItemCount(), 4);
    manager->List()->setCurrentItem(manager->List()->topLevelItem(0));
    manager->Button("FUNC_DELETE")->click();
    EXPECT_EQ(manager->List()->topLevelItemCount(), 4);
    manager->List()->setCurrentItem(manager->List()->topLevelItem(3));
    manager->Button("FUNC_DELETE")->click();
    EXPECT_EQ(manager->List()->topLevelItemCount(), 3);
    manager->Button("CONTROL_CANCEL")->click();
}

}  // namespace
}  // namespace trevolin::gui
