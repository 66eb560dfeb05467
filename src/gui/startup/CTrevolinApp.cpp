#include "gui/startup/CTrevolinApp.h"

#include <QDir>
#include <QFileInfo>

#include "gui/keyassign/Trevolin_DlgComposite.h"
#include "gui/profiles/CTrevolin_DlgProfile.h"
#include "gui/profiles/CTrevolin_DlgUpdate.h"

#include "core/platform/KeyboardLock.h"
#include "core/app/MainWindowControls.h"
#include "core/app/WindowMessages.h"
#include "core/device/HidLibrary.h"
#include "core/profiles/UserFolder.h"
#include "gui/skin/SkinPictures.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QMetaObject>
#include <QTimer>

namespace trevolin::gui {

namespace {

constexpr int TrayPollMs = 500;
constexpr int TrayWaitMs = 15000;

}  // namespace

CTrevolinApp::CTrevolinApp() = default;

CTrevolinApp::~CTrevolinApp()
{
    Shutdown();
}

bool CTrevolinApp::Start(Options options, std::string& problem)
{
    const auto environment = base::Environment::System();
    locations_ = options.locations ? options.locations : base::Locations::ForThisProcess(environment);
    if (!locations_) {
        problem = "cannot tell where the program's files are (is $HOME set?)";
        return false;
    }
    settings_ = std::make_unique<base::SettingsStore>(
        options.settingsFile.value_or(base::SettingsStore::DefaultFile(environment).value_or("")));
    language_ =
        std::make_unique<base::Language>(*locations_, *settings_, options.languageEnvironment.value_or(environment));
    prompts_ = std::make_unique<QtPrompts>();

    dialog_ = std::make_unique<CTrevolinDlg>(*locations_, *language_);
    dialog_->SetSimulated(options.simulate);
    const QString icons = QString::fromStdString(locations_->SkinDirectory()) + QStringLiteral("Icons/hicolor/");
    // Through the skin's checks, like every picture of the skin. The
    // window's icon is small wherever it shows (title bar, task bar, the
    // about box).
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        QString error;
        const QImage picture = SkinPictures::Decode(icons + QStringLiteral("%1x%1/apps/trevolin.png").arg(size), error);
        if (!picture.isNull())
            icon.addPixmap(QPixmap::fromImage(picture));
    }
    dialog_->setWindowIcon(icon);
    QApplication::setWindowIcon(icon);
    if (!dialog_->Initialise()) {
        problem = "the skin in " + locations_->SkinDirectory() + " cannot be used";
        return false;
    }
    prompts_->SetOwner(dialog_.get());
    link_ = std::make_unique<QtMainWindowLink>(*prompts_, *language_, dialog_->Queue());

    CTrevolinDlg* dialog = dialog_.get();
    app::KeyboardAppOptions appOptions{
        .libraryName = device::ChooseHidLibrary(options.hidLibrary, options.simulate),
        .startedHidden = options.startHidden,
        .userFolder = profiles::UserFolderOf(*locations_),
        .lightingFiles = lighting::LightingFiles::FromLocations(*locations_),
        .loadOnArrival = true,
        .arrivalStarted =
            [this, dialog] {
                dialog->Queue().Post([this] {
                    if (model_)
                        model_->OnArrivalStarted();
                });
            },
        .arrivalLoaded =
            [this, dialog](const app::ArrivalLoad& load) {
                dialog->Queue().Post([this, load] {
                    if (model_)
                        model_->OnArrivalLoaded(load);
                });
            },
        .pendingChanged =
            [dialog](bool pending) { dialog->Queue().Post([dialog, pending] { dialog->SetApplyEnabled(pending); }); },
        // trevolinctl may run beside the window: each side holds the lock
        // only for its own keyboard sequences.
        .keyboardLockPath = platform::KeyboardLock::DefaultPath(environment).value_or(""),
        .beforeKeyboardChange = {},
        .keyButtons = dialog,
    };
    const std::string libraryName = appOptions.libraryName;
    auto opened = app::KeyboardApp::Open(std::move(appOptions), *language_, *prompts_, *link_);
    if (!opened.app) {
        problem = app::OpenErrorText(opened.error, libraryName, opened.detail);
        return false;
    }
    keyboard_ = std::move(opened.app);

    model_ = std::make_unique<app::MainWindowModel>(
        *keyboard_, *dialog_, *prompts_, *language_, *settings_, locations_->HelpDirectory(),
        [dialog](std::function<void()> f) { dialog->Queue().Post(std::move(f)); });
    dialog_->SetModel(model_.get());
    link_->SetModel(model_.get());

    std::unique_ptr<TraySurface> surface =
        options.tray ? std::move(options.tray) : std::make_unique<SystemTraySurface>();
    const TraySurface* traySurface = surface.get();
    const auto trayAvailable = [traySurface] { return traySurface->Available(); };
    tray_ = std::make_unique<CTrayIcon>(std::move(surface), *language_,
                                        QString::fromStdString(locations_->SkinDirectory()), [this](uint32_t command) {
                                            if (command == CTrayIcon::AboutCommand)
                                                dialog_->ShowAbout();
                                            else if (model_)
                                                model_->OnCommand(command);
                                        });
    dialog_->SetTray(tray_.get());
    connect(dialog_.get(), &CTrevolinDlg::ProgramEnded, this, [this](int code) {
        ended_ = true;
        exitCode_ = code;
        emit Finished(code);
        QApplication::exit(code);
    });
    dialog_->ShowLanguageChoice(language_->ChoiceIndex());
    connect(dialog_.get(), &CTrevolinDlg::LanguageChosen, this, [this](int index) {
        if (!language_->Choose(index))
            prompts_->ShowMessage("LANGUAGE_NOT_STORED", language_->Text("LANGUAGE_NOT_STORED"),
                                  base::Prompts::Style::Warning);
        // Every text of the window and the tray is looked up again; the
        // dialogs look theirs up when they open.
        dialog_->Relabel();
        dialog_->ShowLanguageChoice(language_->ChoiceIndex());
        tray_->Relabel();
        if (model_)
            model_->ShowTextsAgain();
    });
    connect(dialog_.get(), &CTrevolinDlg::ProfileManagerRequested, this, [this] {
        if (manager_ && !manager_->isVisible())
            manager_->Open();
    });

    // The key assignment dialog, opened from a key or the macro button.
    clock_ = std::make_unique<platform::SteadyClock>();
    keyAssignment_ =
        std::make_unique<app::KeyAssignmentSession>(*keyboard_, *language_, *prompts_, *settings_, *clock_);
    composite_ =
        new Trevolin_DlgComposite(QString::fromStdString(locations_->SkinDirectory()) + QStringLiteral("Composite.ini"),
                                  *keyAssignment_, *language_, *prompts_,
                                  {.keyRect =
                                       [this](uint16_t controlId) {
                                           CPngButton* key = dialog_->Button(controlId);
                                           return key ? QRect(key->mapToGlobal(QPoint(0, 0)), key->size()) : QRect();
                                       },
                                   .showKeyDown =
                                       [this](uint16_t controlId, bool down) {
                                           if (CPngButton* key = dialog_->Button(controlId))
                                               key->setDown(down);
                                       },
                                   .idle = [this] { return model_ && !model_->Busy(); },
                                   .openHelp =
                                       [this] {
                                           if (model_)
                                               static_cast<void>(model_->OnCommand(app::control::Help));
                                       }},
                                  dialog_.get());
    dialog_->AddChildDialog(composite_);
    connect(dialog_.get(), &CTrevolinDlg::KeyAssignmentRequested, this,
            [this](uint16_t controlId, uint16_t keyNumber, bool macroOnly) {
                if (composite_ && !composite_->isVisible())
                    static_cast<void>(composite_->OpenForKey({controlId, keyNumber, macroOnly}));
            });
    // The profile manager, from the profile-name button.
    manager_ = new CTrevolin_DlgProfile(
        QString::fromStdString(locations_->SkinDirectory()) + QStringLiteral("Profile.ini"), *language_, *prompts_,
        *settings_, profiles::UserFolderOf(*locations_),
        {.activeProfile = [this] { return keyboard_->Session().ActiveProfileCache(); },
         .selectProfile = [this](int profile) { return model_ && model_->SelectProfile(profile); },
         .openHelp =
             [this] {
                 if (model_)
                     static_cast<void>(model_->OnCommand(app::control::Help));
             }},
        dialog_.get());
    dialog_->AddChildDialog(manager_);
    // The firmware update dialog, from the button menu.
    update_ = new CTrevolin_DlgUpdate(
        QString::fromStdString(locations_->UpdateSkinFile()), *language_, *prompts_,
        {.requestBootMode =
             [this](std::function<void(bool)> then) { return model_ && model_->RequestBootMode(std::move(then)); },
         .backup = [this] { dialog_->Backup(); },
         .packageFolder =
             [this] {
                 // Beside the program, or in the user's folder where the
                 // program's own folder cannot be written.
                 const QString beside = QString::fromStdString(locations_->PackageDirectory());
                 if (QFileInfo(beside).isDir())
                     return beside;
                 const QString own =
                     QDir(QString::fromStdString(locations_->UserFolder())).filePath(QStringLiteral("Package"));
                 QDir().mkpath(own);
                 return own;
             }},
        dialog_.get());
    dialog_->AddChildDialog(update_);
    connect(dialog_.get(), &CTrevolinDlg::UpdateDialogRequested, this, [this] {
        if (update_ && !update_->isVisible())
            update_->Open();
    });
    // A profile switch waits until the key dialog is closed, and asks when
    // the manager has changes; a switch made elsewhere ticks the manager's
    // row (the hooks are asked on the keyboard thread).
    keyboard_->Profiles().SetSwitchHooks(
        {.keyDialogOpen = [session = keyAssignment_.get()] { return session->OpenCount() > 0; },
         .managerOpen = [manager = manager_.data()] { return manager->IsOpen(); },
         .managerModified = [manager = manager_.data()] { return manager->Modified(); },
         .tickManagerRow =
             [this](int index) {
                 dialog_->Queue().Post([this, index] {
                     if (manager_)
                         manager_->FollowSwitch(index);
                 });
             },
         .applyCommand = {},
         .showProfileMenu = {}});

    model_->ShowFlip();
    // Started at login, the program may come before the desktop's tray:
    // it waits a while for one before it settles for a window without.
    if (options.startHidden && !trayAvailable()) {
        auto* wait = new QTimer(this);
        auto* waited = new int(0);
        connect(wait, &QTimer::timeout, this, [this, wait, waited, trayAvailable] {
            *waited += TrayPollMs;
            if (!trayAvailable() && *waited < TrayWaitMs)
                return;
            wait->stop();
            wait->deleteLater();
            delete waited;
            InitTray();
        });
        wait->start(TrayPollMs);
        return true;
    }
    QMetaObject::invokeMethod(
        dialog_.get(), [this] { InitTray(); }, Qt::QueuedConnection);
    return true;
}

void CTrevolinApp::InitTray()
{
    model_->FinishInitialisation();
    // A presence worker may be waiting for this.
    link_->NotifyInitComplete();
}

int CTrevolinApp::Run()
{
    if (ended_)
        return exitCode_;
    return QApplication::exec();
}

void CTrevolinApp::RequestExit()
{
    if (!model_)
        return;
    exitRequested_ = true;
    QMetaObject::invokeMethod(
        dialog_.get(),
        [this] {
            model_->ExitPath();
            // From here the model tells whether the program ends.
            exitRequested_ = false;
        },
        Qt::QueuedConnection);
}

void CTrevolinApp::Shutdown()
{
    // Nothing may wait for the window from here on: the keyboard thread's
    // questions are answered No, the presence workers stop waiting.
    if (prompts_)
        prompts_->EndQuestions();
    if (link_)
        link_->Close();
    // The keyboard's link stops (its workers joined, its thread ended)
    // before anything it calls goes.
    // The dialogs go before the keyboard their sessions edit.
    delete composite_.data();
    delete manager_.data();
    delete update_.data();
    keyboard_.reset();
    keyAssignment_.reset();
    tray_.reset();
    model_.reset();
    link_.reset();
    dialog_.reset();
    prompts_.reset();
    language_.reset();
    settings_.reset();
}

}  // namespace trevolin::gui
