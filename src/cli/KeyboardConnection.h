#pragma once

#include "cli/ExitCode.h"
#include "core/app/KeyboardLock.h"
#include "core/platform/HeadlessMainWindow.h"
#include "core/device/DeviceSession.h"

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

// Brings the link to the keyboard up the way the desktop program does and
// waits until the keyboard's arrival has been handled.
class KeyboardConnection {
public:
    // On failure returns null, says why on `err` and sets `exitCode`.
    static std::unique_ptr<KeyboardConnection> Open(const ConnectionOptions& options, std::ostream& err,
                                                    int& exitCode);
    ~KeyboardConnection();

    device::DeviceSession& Session() { return *session_; }
    device::KeyboardCommands& Commands() { return session_->Commands(); }
    const std::string& LibraryName() const { return libraryName_; }

private:
    KeyboardConnection() = default;

    // Released last, after the session has let go of the keyboard.
    std::unique_ptr<app::KeyboardLock> lock_;
    std::string libraryName_;
    device::HidLibrary library_;
    std::unique_ptr<platform::HeadlessMainWindow> window_;
    platform::ThreadTaskRunner workers_;
    std::unique_ptr<device::DeviceSession> session_;
};

}  // namespace trevolin::cli
