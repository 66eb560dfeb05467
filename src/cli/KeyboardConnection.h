#pragma once

#include "cli/ExitCode.h"
#include "cli/TerminalPrompts.h"
#include "core/app/KeyboardApp.h"
#include "core/platform/KeyboardLock.h"
#include "core/base/Locations.h"
#include "core/base/TextLookup.h"
#include "core/device/HeadlessMainWindow.h"

#include <atomic>
#include <memory>
#include <ostream>
#include <string>

namespace trevolin::cli {

struct ConnectionOptions {
    bool simulate = false;
    std::string hidLibrary;  // empty: the default library
    // Hears every command about to change the keyboard (--json lists them).
    device::KeyboardCommands::ChangeObserver onKeyboardChange;
};

// The keyboard as the command line opens it: the user's keyboard lock for
// the whole command, then the program's keyboard (app::KeyboardApp), once
// its first presence check has found the keyboard.
class KeyboardConnection {
public:
    // On failure returns null, says why on `err` and sets `exitCode`.
    static std::unique_ptr<KeyboardConnection> Open(const ConnectionOptions& options, const base::Locations& locations,
                                                    const base::TextLookup& texts, std::ostream& err, int& exitCode);
    ~KeyboardConnection();

    app::KeyboardApp& App() { return *app_; }
    device::DeviceSession& Session() { return app_->Session(); }
    device::KeyboardCommands& Commands() { return app_->Session().Commands(); }
    TerminalPrompts& Prompts() { return prompts_; }

    // Runs a keyboard sequence on the keyboard thread and waits for it.
    template <class Sequence>
    auto Call(Sequence&& sequence)
    {
        return app_->Call(std::forward<Sequence>(sequence));
    }

private:
    explicit KeyboardConnection(std::ostream& err);

    // Released last, after the app has let go of the keyboard.
    std::unique_ptr<platform::KeyboardLock> lock_;
    // A command changed the keyboard: a running window is told at the end.
    std::shared_ptr<std::atomic<bool>> changed_ = std::make_shared<std::atomic<bool>>(false);
    TerminalPrompts prompts_;
    device::HeadlessMainWindow window_;
    std::unique_ptr<app::KeyboardApp> app_;
};

}  // namespace trevolin::cli
