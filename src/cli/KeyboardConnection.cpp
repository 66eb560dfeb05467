#include "cli/KeyboardConnection.h"

#include "core/device/ReportExchange.h"

namespace trevolin::cli {

std::unique_ptr<KeyboardConnection> KeyboardConnection::Open(const ConnectionOptions& options, std::ostream& err,
                                                             int& exitCode)
{
    std::unique_ptr<KeyboardConnection> c(new KeyboardConnection);
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
    // The session cancels its requests first, so no callback can start a
    // worker after the workers have been joined.
    session_.reset();
    workers_.JoinAll();
}

}  // namespace trevolin::cli
