#pragma once

#include "core/base/Environment.h"
#include "core/app/KeyAssignmentSession.h"
#include "core/app/KeyboardApp.h"
#include "core/base/Language.h"
#include "core/base/Locations.h"
#include "core/app/MainWindowModel.h"
#include "core/base/SettingsStore.h"
#include "core/platform/Clock.h"
#include "gui/keyassign/Trevolin_DlgComposite.h"
#include "gui/profiles/CTrevolin_DlgProfile.h"
#include "gui/profiles/CTrevolin_DlgUpdate.h"
#include "gui/mainwindow/CTrevolinDlg.h"
#include "gui/mainwindow/QtMainWindowLink.h"
#include "gui/mainwindow/QtPrompts.h"
#include "gui/tray/CTrayIcon.h"
#include "gui/tray/TraySurface.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>
#include <string>

namespace trevolin::gui {

// The desktop program: the main window on the keyboard's link, the tray
// icon, and the order in which they are made and released.
class CTrevolinApp final : public QObject {
    Q_OBJECT
public:
    struct Options {
        bool startHidden = false;  // "/Start": stay in the tray when the keyboard is found
        bool simulate = false;
        std::string hidLibrary;
        // Tests put their own tray here; empty: the desktop's.
        std::unique_ptr<TraySurface> tray;
        // Tests run in their own folders.
        std::optional<base::Locations> locations;
        std::optional<std::string> settingsFile;
        // Where tests set the system language (LANG and the like); empty:
        // the process's own.
        std::optional<base::Environment> languageEnvironment;
    };

    CTrevolinApp();
    ~CTrevolinApp() override;

    // Makes everything and starts the keyboard's link. False with a reason
    // (a missing library, a skin that cannot be used).
    bool Start(Options options, std::string& problem);
    // The event loop; the program's exit code.
    int Run();

    CTrevolinDlg& Window() { return *dialog_; }
    app::MainWindowModel& Model() { return *model_; }
    app::KeyboardApp& Keyboard() { return *keyboard_; }
    CTrayIcon& Tray() { return *tray_; }
    Trevolin_DlgComposite* KeyAssignmentDialog() { return composite_; }
    CTrevolin_DlgProfile* ProfileManager() { return manager_; }
    CTrevolin_DlgUpdate* UpdateDialog() { return update_; }
    bool Ended() const { return ended_; }
    // The exit path was asked for or runs.
    bool Ending() const { return exitRequested_ || ended_ || (model_ && model_->Exiting()); }
    int ExitCode() const { return exitCode_; }

    // Runs the exit path once the event loop runs (SIGTERM, SIGINT, a
    // second instance's KILL): the running keyboard sequence finishes first.
    void RequestExit();

signals:
    void Finished(int exitCode);

private:
    void InitTray();
    void Shutdown();

    std::optional<base::Locations> locations_;
    std::unique_ptr<base::SettingsStore> settings_;
    std::unique_ptr<base::Language> language_;
    std::unique_ptr<QtPrompts> prompts_;
    std::unique_ptr<CTrevolinDlg> dialog_;
    std::unique_ptr<QtMainWindowLink> link_;
    std::unique_ptr<app::KeyboardApp> keyboard_;
    std::unique_ptr<app::MainWindowModel> model_;
    std::unique_ptr<CTrayIcon> tray_;
    std::unique_ptr<platform::SteadyClock> clock_;
    std::unique_ptr<app::KeyAssignmentSession> keyAssignment_;
    QPointer<Trevolin_DlgComposite> composite_;
    QPointer<CTrevolin_DlgProfile> manager_;
    QPointer<CTrevolin_DlgUpdate> update_;
    bool ended_ = false;
    bool exitRequested_ = false;
    int exitCode_ = 0;
};

}  // namespace trevolin::gui
