#include "gui/startup/ProgramStart.h"

#include "core/base/Environment.h"
#include "core/base/Locations.h"
#include "core/app/MainWindowModel.h"
#include "core/base/ProgramVersion.h"
#include "core/app/StartupSwitches.h"
#include "core/base/PrivateFolder.h"
#include "core/platform/ActivationToken.h"
#include "core/platform/Clock.h"
#include "core/platform/ClockChangeWatch.h"
#include "core/platform/DaemonLauncher.h"
#include "core/platform/NamedEvents.h"
#include "core/platform/RuntimeFolder.h"
#include "core/platform/SingleInstance.h"
#include "gui/skin/DarkStyle.h"
#include "gui/skin/SkinFailure.h"
#include "gui/startup/CTrevolinApp.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <malloc.h>
#include <fcntl.h>
#include <iostream>
#include <functional>
#include <memory>
#include <unistd.h>

namespace trevolin::gui {

namespace {

// SIGTERM and SIGINT become the exit path on the window's thread: the
// handler only writes to a pipe the event loop watches.
int signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    static_cast<void>(::write(signalPipe[1], &byte, 1));
}

// From the very start: a signal that comes while the program is still
// coming up waits in the pipe until the event loop runs.
void CatchSignals()
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

void WatchSignals(CTrevolinApp& program)
{
    if (signalPipe[0] < 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &program);
    QObject::connect(notifier, &QSocketNotifier::activated, &program, [&program] {
        char bytes[16];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        program.RequestExit();
    });
}

// TREVOLIN_SCREENSHOT=FILE: once the keyboard has been read, or its read
// has failed (or after ten seconds without one), the window is drawn into
// FILE and the program ends.
// For machines without a display, and for the documentation.
void TakeScreenshotWhenReady(CTrevolinApp& program, const QString& file)
{
    auto* timer = new QTimer(&program);
    auto* waited = new int(0);
    QObject::connect(timer, &QTimer::timeout, &program, [&program, file, timer, waited] {
        *waited += 100;
        using State = app::MainWindowModel::KeyboardState;
        const State state = program.Model().Keyboard();
        if ((state == State::Absent || state == State::Reading || program.Model().Busy()) && *waited < 10000)
            return;
        CTrevolinDlg& window = program.Window();
        timer->stop();
        delete waited;
        const bool saved = window.grab().save(file);
        std::cout << (saved ? "trevolin: the window is drawn in " : "trevolin: cannot write ") << file.toStdString()
                  << "\n";
        program.RequestExit();
    });
    timer->start(100);
}

// Later starts hand over OPEN and KILL; trevolinctl says when it has
// changed the keyboard. OPEN is answered once the window
// was asked to show itself (the answer may be a message box that waits for
// the user; the other start must not wait with it); KILL once the exit path
// has run and the lock is free. An instance that is ending refuses OPEN, and
// the start that sent it becomes the next instance.
void WatchInstanceSocket(platform::SingleInstance& instance, const std::string& folder, CTrevolinApp& program)
{
    auto* notifier = new QSocketNotifier(instance.ListenFd(), QSocketNotifier::Read, &program);
    // Looks again at starts that have connected but not yet said what they
    // want; owned by the program, so it never outlives it.
    auto* recheck = new QTimer(&program);
    recheck->setSingleShot(true);
    recheck->setInterval(static_cast<int>(platform::SingleInstance::RecheckMs));
    auto handle = std::make_shared<std::function<void()>>();
    *handle = [&instance, folder, &program, recheck] {
        using Verdict = platform::SingleInstance::Verdict;
        instance.HandlePending([&program, &folder](platform::SingleInstance::Message message) {
            if (message == platform::SingleInstance::Message::Kill) {
                program.RequestExit();
                return Verdict::Taken;
            }
            if (program.Ending())
                return Verdict::Refused;
            const bool open = message == platform::SingleInstance::Message::Open;
            QMetaObject::invokeMethod(
                &program,
                [folder, &program, open] {
                    if (open) {
                        // The other start's launcher token lets the window
                        // come to the front under Wayland: Qt hands it to
                        // the compositor at the window's next activation.
                        const auto token = platform::TakeActivationToken(folder);
                        if (token)
                            qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(*token));
                        program.Model().OnOpen();
                        // Where the compositor has no activation, nothing
                        // took it: programs started later must not inherit it.
                        if (token)
                            qunsetenv("XDG_ACTIVATION_TOKEN");
                    }
                    else
                        program.Model().OnKeyboardChangedElsewhere();
                },
                Qt::QueuedConnection);
            return Verdict::Taken;
        });
        if (instance.AwaitingRequests())
            recheck->start();
    };
    QObject::connect(notifier, &QSocketNotifier::activated, &program, [handle] { (*handle)(); });
    QObject::connect(recheck, &QTimer::timeout, &program, [handle] { (*handle)(); });
}

}  // namespace

int RunProgram(int argc, char** argv)
{
    // Pictures are decoded, drawn and let go (the skin at start, the
    // window's picture when a whole repaint needs it): memory that large
    // goes back to the system when it is freed. By default glibc raises
    // this threshold after the first such free, and later pictures would
    // stay in the program's heap for good.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    const auto switches = app::StartupSwitches::Parse(argc, argv);
    if (!switches.error.empty()) {
        std::cerr << "trevolin: " << switches.error << "\n";
        return 2;
    }
    if (switches.help) {
        std::cout << app::StartupSwitches::Usage();
        return 0;
    }
    if (switches.version) {
        std::cout << "trevolin " << base::ProgramVersion() << "\n";
        return 0;
    }
    CatchSignals();
    const auto environment = base::Environment::System();
    const std::string folder = platform::RuntimeFolder::PathFor(environment.AbsolutePath("XDG_RUNTIME_DIR"));

    // A second start hands its wish to the first and ends.
    platform::SingleInstance::Options instanceOptions;
    // The first may itself be coming up (reading the skin, finding the
    // keyboard) when a second start arrives.
    instanceOptions.answerWaitMs = 10000;
    // The launcher's token for bringing a window to the front is of use
    // only to the running instance's window; this start's own first window,
    // should it become the instance, finds it in the environment.
    const auto token = environment.Get("XDG_ACTIVATION_TOKEN");
    bool tokenHandedOver = false;
    if (!switches.Kills() && token && platform::IsActivationToken(*token)) {
        std::string detail;
        tokenHandedOver =
            base::MakePrivateFolder(folder, detail) && platform::HandOverActivationToken(folder, *token);
    }
    auto claim = platform::SingleInstance::Claim(
        folder, switches.Kills() ? platform::SingleInstance::Message::Kill : platform::SingleInstance::Message::Open,
        instanceOptions, platform::SteadyClock::Instance());
    if (tokenHandedOver && claim.result != platform::SingleInstance::Result::SignalledRunningInstance)
        static_cast<void>(platform::TakeActivationToken(folder));  // nobody took it
    switch (claim.result) {
    case platform::SingleInstance::Result::SignalledRunningInstance:
        return 0;
    case platform::SingleInstance::Result::NoAnswer:
        std::cerr << "trevolin: Trevolin is already running but does not answer.\n";
        return 0;
    case platform::SingleInstance::Result::ForeignPeer:
    case platform::SingleInstance::Result::Unavailable:
        // Without the lock this run cannot tell whether another one runs;
        // it goes on, as a stale mutex lets the program go on.
        std::cerr << "trevolin: warning: cannot make sure only one Trevolin runs (" << claim.detail << ").\n";
        break;
    case platform::SingleInstance::Result::Primary:
        break;
    }
    const bool holdsLock = claim.result == platform::SingleInstance::Result::Primary;
    auto events = platform::NamedEvents::Create(platform::NamedEvents::OwnerFor(folder), holdsLock);
    if (!events.detail.empty())
        std::cerr << "trevolin: warning: " << events.detail << "\n";

    // A skin picture that cannot be used ends the program, but not before
    // the socket and the named events are gone.
    SkinFailure::SetHandler([&claim, &events](const QString& file, const QString& reason) {
        if (claim.instance)
            claim.instance->Release();
        if (events.events)
            events.events->Release();
        SkinFailure::EndProgram(file, reason);
    });

    // Under Wayland, Qt asks for its client-side window decorations when a
    // window is first shown, frameless or not, and that loads the Mesa GL
    // stack: twice the program's memory for frames the skinned windows draw
    // themselves. The price: Qt's standard dialogs get no title bar of their
    // own where the compositor draws none. A user's own choice stays.
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION"))
        qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trevolin"));
    QApplication::setDesktopFileName(QStringLiteral("trevolin"));
    // The window lives in the tray; closing it is not the end.
    QApplication::setQuitOnLastWindowClosed(false);
    ApplyDarkStyle(qt);

    if (const auto locations = base::Locations::ForThisProcess(environment))
        static_cast<void>(platform::DaemonLauncher::Launch(locations->Daemon(), switches.simulate));

    CTrevolinApp program;
    CTrevolinApp::Options options;
    options.startHidden = switches.StartsHidden();
    options.simulate = switches.simulate;
    options.hidLibrary = switches.hidLibrary;
    std::string problem;
    if (!program.Start(std::move(options), problem)) {
        std::cerr << "trevolin: " << problem << "\n";
        return 0;
    }
    if (claim.instance)
        WatchInstanceSocket(*claim.instance, folder, program);
    WatchSignals(program);
    // The clock was set: changes still pending go to the keyboard now.
    std::unique_ptr<platform::ClockChangeWatch> clock = platform::ClockChangeWatch::Create();
    if (clock) {
        auto* notifier = new QSocketNotifier(clock->Fd(), QSocketNotifier::Read, &program);
        QObject::connect(notifier, &QSocketNotifier::activated, &program, [&clock, &program] {
            if (clock->Consume())
                program.Model().ApplyWhenIdle();
        });
    }
    if (const auto screenshot = environment.AbsolutePath("TREVOLIN_SCREENSHOT"))
        TakeScreenshotWhenReady(program, QString::fromStdString(*screenshot));
    // Nothing ends when the desktop session asks to save (commitDataRequest):
    // the logout may still be called off, and the settings are written as
    // they change. When the session does end, the program gets SIGTERM
    // (the exit path) or the session manager quits the event loop, after
    // which the program object lets the keyboard thread finish its sequence.
    const int code = program.Run();
    // The named events go, then the instance's socket and lock; releasing
    // the lock answers a waiting "/Kill", which then finds nothing left.
    // The window and the keyboard follow with the program object.
    if (events.events)
        events.events->Release();
    if (claim.instance)
        claim.instance->Release();
    return code;
}

}  // namespace trevolin::gui
