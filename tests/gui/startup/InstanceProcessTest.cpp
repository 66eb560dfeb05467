// The program as separate processes: one per user, a second start hands
// over and ends, "/Kill" ends the first, and nothing is left behind.
#include "core/platform/NamedEvents.h"
#include "core/platform/RuntimeFolder.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <gtest/gtest.h>

#include <semaphore.h>
#include <sys/stat.h>

namespace trevolin::gui {
namespace {

class InstanceProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::mkdir(dir.File("run").c_str(), 0700), 0);
        env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.File("run")));
        env.insert("XDG_DATA_HOME", QString::fromStdString(dir.File("data")));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.File("config")));
        env.insert("TREVOLIN_SIM_STATE", QString::fromStdString(dir.File("sim")));
    }

    std::unique_ptr<QProcess> Start(const QStringList& arguments)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QCoreApplication::applicationDirPath() + "/trevolin", arguments);
        EXPECT_TRUE(process->waitForStarted(10000));
        return process;
    }

    QString Socket() const { return QString::fromStdString(dir.File("run/trevolin/VSDRAVIK.socket")); }

    bool EventExists(int number) const
    {
        const std::string owner =
            platform::NamedEvents::OwnerFor(platform::RuntimeFolder::PathFor(dir.File("run")));
        const std::string name = platform::NamedEvents::NameOf(number, owner);
        sem_t* event = ::sem_open(name.c_str(), 0);
        if (event == SEM_FAILED)
            return false;
        ::sem_close(event);
        return true;
    }

    trevolin::test::TempDir dir;
    QProcessEnvironment env;
};

TEST_F(InstanceProcessTest, ASecondStartHandsOverAndKillEndsTheFirst)
{
    auto first = Start({"--simulate"});
    // The first instance listens once it has come up.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(Socket()), 20000);
    // The events are made right after the socket.
    QTRY_VERIFY_WITH_TIMEOUT(EventExists(210), 20000);
    EXPECT_TRUE(EventExists(1));

    auto second = Start({"--simulate"});
    ASSERT_TRUE(second->waitForFinished(20000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);

    auto killer = Start({"/KILL", "--simulate"});
    ASSERT_TRUE(killer->waitForFinished(20000));
    EXPECT_EQ(killer->exitCode(), 0);
    ASSERT_TRUE(first->waitForFinished(20000));
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(Socket()));
    EXPECT_FALSE(EventExists(1));
    EXPECT_FALSE(EventExists(210));
}

// SIGTERM runs the exit path too: no socket and no event stays.
TEST_F(InstanceProcessTest, TerminatedTheProgramLeavesNothingBehind)
{
    auto first = Start({"--simulate"});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(Socket()), 20000);
    first->terminate();
    ASSERT_TRUE(first->waitForFinished(20000));
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(Socket()));
    EXPECT_FALSE(EventExists(1));
}

// "/Kill" returns once the first instance has ended and let its lock go,
// so a start right after it runs on, even with a slow keyboard whose last
// sequence keeps the ending instance busy for a while.
TEST_F(InstanceProcessTest, AStartRightAfterKillRunsOn)
{
    env.insert("TREVOLIN_SIM_LATENCY_MS", "100");
    auto first = Start({"--simulate"});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(Socket()), 20000);

    auto killer = Start({"/Kill", "--simulate"});
    ASSERT_TRUE(killer->waitForFinished(30000));
    EXPECT_EQ(killer->exitCode(), 0);
    auto next = Start({"--simulate"});
    QTRY_COMPARE_WITH_TIMEOUT(first->state(), QProcess::NotRunning, 20000);
    EXPECT_EQ(first->exitCode(), 0);
    // The new start is the instance now (only the instance listens): it
    // did not hand its OPEN to the one that was ending.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(Socket()), 20000);
    EXPECT_EQ(next->state(), QProcess::Running);

    next->terminate();
    ASSERT_TRUE(next->waitForFinished(30000));
    EXPECT_EQ(next->exitCode(), 0);
}

// --help and --version print and end; a running instance is not told.
TEST_F(InstanceProcessTest, HelpAndVersionLeaveARunningInstanceAlone)
{
    auto first = Start({"--simulate"});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(Socket()), 20000);
    for (const QString& option : {QStringLiteral("--version"), QStringLiteral("--help")}) {
        auto asked = Start({option});
        asked->setReadChannel(QProcess::StandardOutput);
        ASSERT_TRUE(asked->waitForFinished(20000));
        EXPECT_EQ(asked->exitCode(), 0);
        EXPECT_TRUE(asked->readAllStandardOutput().startsWith(option == "--version" ? "trevolin " : "usage: trevolin"));
    }
    EXPECT_EQ(first->state(), QProcess::Running);
    first->terminate();
    ASSERT_TRUE(first->waitForFinished(20000));
}

}  // namespace
}  // namespace trevolin::gui
