#include "cli/KeyboardConnection.h"

#include "cli/SignalDeferral.h"
#include "core/base/Environment.h"
#include "core/app/WindowMessages.h"
#include "core/platform/RuntimeFolder.h"
#include "core/platform/SingleInstance.h"
#include "core/device/ReportExchange.h"
#include "core/lighting/LightingFiles.h"

namespace trevolin::cli {

namespace {

// Long enough for another command's Apply or restore to finish.
constexpr uint32_t LockWaitMs = 10000;
// A running window acknowledges at once; one that does not is not waited for.
constexpr uint32_t TellWaitMs = 1000;

// Takes the user's keyboard lock for the whole command: a command reads the
// keyboard, changes what it read and writes it back, and another process in
// between would lose its change or see half of ours. False when another
// process keeps the keyboard busy; a runtime folder that cannot hold the
// lock only gets a warning, so that it never locks the user out.
bool TakeKeyboardLock(std::unique_ptr<platform::KeyboardLock>& lock, std::ostream& err)
{
    const auto path = platform::KeyboardLock::DefaultPath(base::Environment::System());
    if (!path)
        return true;
    auto outcome = platform::KeyboardLock::Acquire(*path, "trevolinctl", LockWaitMs, platform::SteadyClock::Instance());
    switch (outcome.result) {
    case platform::KeyboardLock::Result::Acquired:
        lock = std::move(outcome.lock);
        return true;
    case platform::KeyboardLock::Result::Busy:
        err << "trevolinctl: another Trevolin program"
            << (outcome.holder.empty() ? std::string() : ", " + outcome.holder + ",")
            << " has been using the keyboard for " << LockWaitMs / 1000
            << " seconds. Try again when it has finished.\n";
        return false;
    case platform::KeyboardLock::Result::Unavailable:
        err << "trevolinctl: warning: cannot keep other Trevolin programs off the keyboard while this command runs ("
            << outcome.detail << ").\n";
        return true;
    }
    return true;
}

}  // namespace

KeyboardConnection::KeyboardConnection(std::ostream& err)
    : prompts_(err),
      window_([&err](std::string_view key) {
          if (key == "MAIN_DEFAULT_MATRIX_PROMPT")
              err << "trevolinctl: warning: could not read the keyboard's default key map; it is read again before any "
                     "key is written.\n";
          else
              err << "trevolinctl: " << key << "\n";
      })
{
}

std::unique_ptr<KeyboardConnection> KeyboardConnection::Open(const ConnectionOptions& options,
                                                             const base::Locations& locations,
                                                             const base::TextLookup& texts, std::ostream& err,
                                                             int& exitCode)
{
    std::unique_ptr<KeyboardConnection> c(new KeyboardConnection(err));
    if (!TakeKeyboardLock(c->lock_, err)) {
        exitCode = ExitKeyboardBusy;
        return nullptr;
    }
    app::KeyboardAppOptions appOptions{
        .libraryName = device::ChooseHidLibrary(options.hidLibrary, options.simulate),
        .startedHidden = true,
        .userFolder = profiles::UserFolderOf(locations),
        .lightingFiles = lighting::LightingFiles::FromLocations(locations),
        .loadOnArrival = false,
        .arrivalStarted = {},
        .arrivalLoaded = {},
        .pendingChanged = {},
        // The command holds the lock for its whole run.
        .keyboardLockPath = {},
        .beforeKeyboardChange =
            [observer = options.onKeyboardChange, changed = c->changed_](uint8_t command, uint16_t offset) {
                changed->store(true);
                SignalDeferral::EnterWritePhase();
                if (observer)
                    observer(command, offset);
            },
        .keyButtons = nullptr,
    };
    const std::string libraryName = appOptions.libraryName;
    auto opened = app::KeyboardApp::Open(std::move(appOptions), texts, c->prompts_, c->window_);
    if (opened.error != app::KeyboardApp::OpenError::None) {
        err << "trevolinctl: " << app::OpenErrorText(opened.error, libraryName, opened.detail) << ".\n";
        exitCode = ExitLibrary;
        return nullptr;
    }
    c->app_ = std::move(opened.app);
    // The keyboard's state is known once the first presence check is done.
    c->app_->WaitForPresence();
    if (c->Session().DeviceCount() == 0) {
        const auto absence = app::DescribeAbsence(c->app_->AbsenceReason(), options.simulate, texts);
        err << "trevolinctl: " << absence.sentence << "\n";
        if (absence.permission) {
            err << "Install the udev rule that gives the logged-in user access to the keyboard:\n  " << absence.remedy
                << "\n";
            exitCode = ExitPermission;
        } else {
            // Only a real keyboard can be plugged in, and --simulate is
            // advice only to someone not using it already.
            if (!options.simulate)
                err << "trevolinctl: use --simulate for the simulated keyboard.\n";
            exitCode = ExitNoKeyboard;
        }
        return nullptr;
    }
    exitCode = ExitOk;
    return c;
}

KeyboardConnection::~KeyboardConnection()
{
    app_.reset();
    // Counted before the lock is let go: a desktop window that takes it next
    // knows that its copy of the keyboard's tables is stale.
    if (changed_->load() && lock_)
        lock_->CountChange();
    lock_.reset();
    // A desktop window of this user shows the keyboard as it read it; it
    // reads it again once the lock is free.
    if (changed_->load()) {
        const auto env = base::Environment::System();
        static_cast<void>(platform::SingleInstance::Tell(
            platform::RuntimeFolder::PathFor(env.AbsolutePath("XDG_RUNTIME_DIR")),
            platform::SingleInstance::Message::KeyboardChanged, TellWaitMs, platform::SteadyClock::Instance()));
    }
}

}  // namespace trevolin::cli
