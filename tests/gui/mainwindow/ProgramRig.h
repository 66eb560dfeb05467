#pragma once

// The desktop program in the test process on the simulated keyboard, with a
// tray that tests control (an offscreen session has none) and its own user
// and settings folders.
#include "core/base/Environment.h"
#include "core/base/Locations.h"
#include "gui/mainwindow/QtPrompts.h"
#include "gui/skin/SkinPictures.h"
#include "gui/startup/CTrevolinApp.h"
#include "gui/tray/TraySurface.h"
#include "support/TempDir.h"
#include "transport/sim/SimKeyboardControl.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace trevolin::gui::test {

class FakeTray final : public TraySurface {
public:
    explicit FakeTray(bool available) : available_(available) {}

    bool Available() const override { return available_; }
    void Show() override { shown = true; }
    void Hide() override { shown = false; }
    void SetIcon(const QIcon& icon) override
    {
        ++iconChanges;
        iconNull = icon.isNull();
    }
    void SetToolTip(const QString& text) override { tip = text; }
    void SetMenu(QMenu* m) override { menu = m; }
    void ShowMessage(const QString&, const QString& text) override { messages.push_back(text); }
    bool ReportsDoubleClicks() const override { return doubleClicks; }
    void Click(QSystemTrayIcon::ActivationReason reason) { emit Activated(reason); }

    bool shown = false;
    int iconChanges = 0;
    bool iconNull = true;
    QString tip;
    QMenu* menu = nullptr;
    QStringList messages;
    bool doubleClicks = true;

private:
    bool available_;
};

struct ProgramRig {
    ProgramRig()
    {
        EXPECT_TRUE(kb.ok()) << kb.error();
        EXPECT_EQ(kb.Init(0), 1);
        EXPECT_EQ(kb.QlSimReset(), 1);
        EXPECT_TRUE(kb.waitIdle());
    }

    ~ProgramRig()
    {
        QtPrompts::SetAnswerer({});
        program.reset();
        kb.QlSimSetLatency(0);
    }

    void Start(bool withTray, bool startHidden = false, const char* locale = "en_US.UTF-8")
    {
        // Every answer is No unless a test says otherwise, and no box ever
        // waits for a person.
        QtPrompts::SetAnswerer([this](std::string_view key, bool question) {
            asked.push_back(std::string(key));
            return question && yes;
        });
        const auto env = base::Environment::FromValues(
            {{"HOME", dir.File("home")}, {"XDG_DATA_HOME", dir.File("data")}, {"XDG_CONFIG_HOME", dir.File("config")}});
        const std::string exe = QCoreApplication::applicationFilePath().toStdString();
        auto locations = base::Locations::Build(exe, env);
        ASSERT_TRUE(locations);
        tray = new FakeTray(withTray);
        CTrevolinApp::Options options;
        options.startHidden = startHidden;
        options.simulate = true;
        options.tray.reset(tray);
        options.locations = locations;
        options.settingsFile = dir.File("config/settings.ini");
        options.languageEnvironment = base::Environment::FromValues({{"LANG", locale}});
        program = std::make_unique<CTrevolinApp>();
        std::string problem;
        ASSERT_TRUE(program->Start(std::move(options), problem)) << problem;
    }

    CTrevolinDlg& Window() { return program->Window(); }

    // The keyboard has been read and the window shows it.
    void WaitForKeyboard() { QTRY_VERIFY_WITH_TIMEOUT(Window().KeyboardPresent() && !program->Model().Busy(), 10000); }

    sim::SimKeyboardControl& kb = sim::SimKeyboardControl::instance();
    trevolin::test::TempDir dir;
    FakeTray* tray = nullptr;  // owned by the program
    std::unique_ptr<CTrevolinApp> program;
    std::vector<std::string> asked;
    bool yes = false;
};

}  // namespace trevolin::gui::test
