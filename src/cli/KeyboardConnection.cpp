#include "cli/KeyboardConnection.h"

#include "cli/SignalDeferral.h"
#include "core/app/Environment.h"
#include "core/device/ReportExchange.h"

namespace trevolin::cli {

namespace {

// Long enough for another command's Apply or restore to finish.
constexpr uint32_t LockWaitMs = 10000;

// Takes the user's keyboard lock for the whole command: a command reads the
// keyboard, changes what it read and writes it back, and another process in
// between would lose its change or see half of ours. False when another
// process keeps the keyboard busy; a runtime folder that cannot hold the
// lock only gets a warning, so that it never locks the user out.
bool TakeKeyboardLock(std::unique_ptr<app::KeyboardLock>& lock, std::ostream& err)
{
    const auto path = app::KeyboardLock::DefaultPath(app::Environment::System());
    if (!path)
        return true;
    auto outcome = app::KeyboardLock::Acquire(*path, "trevolinctl", LockWaitMs, platform::SteadyClock::Instance());
    switch (outcome.result) {
    case app::KeyboardLock::Result::Acquired:
        lock = std::move(outcome.lock);
        return true;
    case app::KeyboardLock::Result::Busy:
        err << "trevolinctl: another Trevolin program"
            << (outcome.holder.empty() ? std::string() : ", " + outcome.holder + ",")
            << " has been using the keyboard for " << LockWaitMs / 1000
            << " seconds. Try again when it has finished.\n";
        return false;
    case app::KeyboardLock::Result::Unavailable:
        err << "trevolinctl: warning: cannot keep other Trevolin programs off the keyboard while this command runs ("
            << outcome.detail << ").\n";
        return true;
    }
    return true;
}

}  // namespace

std::unique_ptr<KeyboardConnection> KeyboardConnection::Open(const ConnectionOptions& options, std::ostream& err,
                                                             int& exitCode)
{
    std::unique_ptr<KeyboardConnection> c(new KeyboardConnection);
    if (!TakeKeyboardLock(c->lock_, err)) {
        exitCode = ExitKeyboardBusy;
        return nullptr;
    }
    c->libraryName_ = device::ChooseHidLibrary(options.hidLibrary, options.simulate);
    auto loaded = device::LoadHidLibrary(c->libraryName_);
    if (loaded.error == device::LoadError::LibraryMissing) {
        err << "trevolinctl: cannot load the HID library " << c->libraryName_ << ": " << loaded.detail << "\n";
        exitCode = ExitLibrary;
        return nullptr;
    }
    if (loaded.error == device::LoadError::ExportMissing) {
        err << "trevolinctl: the HID library " << c->libraryName_ << " lacks the entry point " << loaded.detail
            << "; it is not a Trevolin transport library.\n";
        exitCode = ExitLibrary;
        return nullptr;
    }
    c->library_ = loaded.library;
    c->window_ = std::make_unique<platform::HeadlessMainWindow>([&err](std::string_view key) {
        if (key == "MAIN_DEFAULT_MATRIX_PROMPT")
            err << "trevolinctl: warning: could not read the keyboard's default key map; using the built-in one.\n";
        else
            err << "trevolinctl: " << key << "\n";
    });
    c->session_ = std::make_unique<device::DeviceSession>(c->library_, *c->window_, c->workers_,
                                                          platform::SteadyClock::Instance());
    c->session_->Commands().SetBeforeChange([observer = options.onKeyboardChange](uint8_t command, uint16_t offset) {
        SignalDeferral::EnterWritePhase();
        if (observer)
            observer(command, offset);
    });
    if (!c->session_->Start(true)) {
        err << "trevolinctl: the HID library " << c->libraryName_ << " failed to start.\n";
        exitCode = ExitLibrary;
        return nullptr;
    }
    // The first presence check runs on a worker; the keyboard's state is
    // known once it has finished.
    c->workers_.JoinAll();
    if (c->session_->DeviceCount() == 0) {
        const auto problem = device::DescribeDeviceProblem(c->library_);
        if (problem.code == QL_ERR_PERMISSION) {
            err << "trevolinctl: " << problem.sentence << "\n"
                << "Install the udev rule that gives the logged-in user access to the keyboard:\n"
                << "  sudo cp data/70-trevolin.rules /etc/udev/rules.d/ && sudo udevadm control --reload"
                << " && sudo udevadm trigger\n"
                << "then unplug the keyboard and plug it in again.\n";
            exitCode = ExitPermission;
        } else {
            // Only a real keyboard can be plugged in, and --simulate is
            // advice only to someone not using it already.
            err << (options.simulate ? "trevolinctl: no keyboard found: the simulated keyboard is unplugged."
                                     : "trevolinctl: no keyboard found. Plug it in, or use --simulate for the "
                                       "simulated one.");
            if (!problem.sentence.empty())
                err << " (" << problem.sentence << ")";
            err << "\n";
            exitCode = ExitNoKeyboard;
        }
        return nullptr;
    }
    exitCode = ExitOk;
    return c;
}

KeyboardConnection::~KeyboardConnection()
{
    // Stop cancels the library's requests and joins the workers, which hold
    // the session, before it goes.
    if (session_)
        session_->Stop();
    session_.reset();
}

}  // namespace trevolin::cli
