#pragma once

#include "core/app/KeyboardWorker.h"
#include "core/base/TextLookup.h"
#include "core/device/DeviceSession.h"
#include "core/device/HidLibrary.h"
#include "core/keys/KeyButtonView.h"
#include "core/lighting/KeyTints.h"
#include "core/lighting/LightingController.h"
#include "core/lighting/LightingFiles.h"
#include "core/device/MainWindowLink.h"
#include "core/base/Prompts.h"
#include "core/platform/TaskRunner.h"
#include "core/profiles/KeyboardProfiles.h"
#include "core/profiles/ProfileStore.h"
#include "core/profiles/UserFolder.h"

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

namespace trevolin::app {

// What the load on arrival found, heard on the keyboard thread.
struct ArrivalLoad {
    profiles::LoadReport profiles;
    int activeProfile = -1;           // the profile button to show pressed, or -1
    int lighting = device::ResultOk;  // the lighting read-back's result
    int reportRate = 0;               // as the lighting read it
};

struct KeyboardAppOptions {
    std::string libraryName;  // a name or path, as device::ChooseHidLibrary gives it
    bool startedHidden = true;
    profiles::UserFolder userFolder;
    lighting::LightingFiles lightingFiles;
    // The desktop program: every arrival reads the key tables, the macros
    // and the lighting on the keyboard thread, then `arrivalLoaded` is
    // called there (the window carries it over to its own thread). Without
    // it the front end loads what it needs itself.
    bool loadOnArrival = false;
    // Heard on the presence worker when a keyboard was found and its load
    // begins (it may take seconds on a slow keyboard).
    std::function<void()> arrivalStarted;
    std::function<void(const ArrivalLoad&)> arrivalLoaded;
    // Hears on the keyboard thread whether changes are pending; set before
    // the session starts.
    std::function<void(bool pending)> pendingChanged;
    // The user's keyboard lock (KeyboardLock::DefaultPath): when set, every
    // sequence on the keyboard thread holds it, so that another program of
    // the user (trevolinctl) never talks to the keyboard in between. A
    // program that holds the lock for its whole run leaves it empty.
    std::string keyboardLockPath;
    // Hears every command about to change the keyboard, on the thread that
    // sends it.
    device::KeyboardCommands::ChangeObserver beforeKeyboardChange;
    // The window's key buttons, which outlive the app. They are told what to
    // show on the keyboard thread.
    keys::KeyButtonView* keyButtons = nullptr;
};

// Everything a front end needs to drive the keyboard, made in one place and
// in one order for the desktop program and the command line: the loaded
// HID library, the device session, the store, the key tables and macros
// (KeyboardProfiles), the lighting (LightingController and its files), and
// the one keyboard thread every keyboard sequence runs on. Destroyed in the
// reverse order, after the session has stopped and the keyboard thread has
// finished.
class KeyboardApp {
public:
    enum class OpenError {
        None,
        LibraryMissing,  // the library could not be loaded
        ExportMissing,   // it lacks an entry point: not a Trevolin transport library
        StartFailed,     // its Init failed
    };
    struct Opened {
        std::unique_ptr<KeyboardApp> app;
        OpenError error = OpenError::None;
        std::string detail;  // the loader's message or the missing entry point
    };

    // Loads the library, builds everything and starts the session (its
    // first presence check runs on a worker). `texts`, `prompts` and
    // `window` outlive the app.
    static Opened Open(KeyboardAppOptions options, const base::TextLookup& texts, base::Prompts& prompts,
                       device::MainWindowLink& window);
    ~KeyboardApp();
    KeyboardApp(const KeyboardApp&) = delete;
    KeyboardApp& operator=(const KeyboardApp&) = delete;

    // Waits until the presence checks started so far have finished (with
    // loadOnArrival, the load included). For a front end that needs to know
    // whether a keyboard is there before it goes on.
    void WaitForPresence();
    // Why no keyboard could be opened, in the library's words (permission).
    device::DeviceProblem AbsenceReason() const;

    const std::string& LibraryName() const { return libraryName_; }
    device::DeviceSession& Session() { return *session_; }
    profiles::ProfileStore& Store() { return store_; }
    profiles::KeyboardProfiles& Profiles() { return *profiles_; }
    lighting::LightingController& Lighting() { return *lighting_; }
    // The lighting's tints of the key buttons (keyboard thread).
    const lighting::KeyTints& Tints() const { return tints_; }
    const lighting::LightingFiles& LightingFiles() const { return lightingFiles_; }
    KeyboardWorker& Worker() { return *worker_; }

    // --- Keyboard sequences ------------------------------------------------
    // Runs `sequence` on the keyboard thread and waits for it (the command
    // line, and workers that are not the window's thread): its result, or
    // what it threw. Throws std::runtime_error when the app is shutting down.
    template <class Sequence>
    auto Call(Sequence&& sequence) -> std::invoke_result_t<Sequence&>
    {
        using Result = std::invoke_result_t<Sequence&>;
        if constexpr (std::is_void_v<Result>) {
            if (!worker_->RunAndWait([&sequence] { sequence(); }))
                throw std::runtime_error("the keyboard thread has stopped");
        } else {
            std::optional<Result> result;
            if (!worker_->RunAndWait([&sequence, &result] { result.emplace(sequence()); }))
                throw std::runtime_error("the keyboard thread has stopped");
            return std::move(*result);
        }
    }

    // Posts `sequence` to the keyboard thread; `done` hears its result there.
    // Coalescing as KeyboardWorker::Post.
    template <class Sequence, class Done>
    bool Post(Sequence sequence, Done done, std::string coalesceKey = {})
    {
        return worker_->Post([sequence = std::move(sequence), done = std::move(done)]() mutable { done(sequence()); },
                             std::move(coalesceKey));
    }

    // --- What a front end runs on the keyboard thread ----------------------
    // The key tables and macros, then the lighting of the active profile,
    // read from the keyboard (the desktop program's arrival).
    ArrivalLoad LoadOnArrival();
    // A profile button: the lighting follows profile `profile` (0 to 2),
    // then, unless it is active already, the keyboard is switched to it
    // (which may ask about unapplied key changes). True when `profile` is
    // the keyboard's active profile afterwards.
    [[nodiscard]] bool SwitchToProfile(int profile, profiles::ProfileSelection* outcome = nullptr);

private:
    class WindowRelay;

    KeyboardApp(KeyboardAppOptions options, const base::TextLookup& texts, base::Prompts& prompts,
                device::MainWindowLink& window, const device::HidLibrary& library);
    void OnProfileSync();

    // In order of creation.
    std::string libraryName_;
    device::HidLibrary library_;
    std::function<void()> arrivalStarted_;
    std::function<void(const ArrivalLoad&)> arrivalLoaded_;
    bool loadOnArrival_;
    std::unique_ptr<WindowRelay> relay_;
    platform::ThreadTaskRunner presenceWorkers_;
    std::unique_ptr<device::DeviceSession> session_;
    profiles::ProfileStore store_;
    std::unique_ptr<profiles::KeyboardProfiles> profiles_;
    lighting::KeyTints tints_;
    lighting::LightingFiles lightingFiles_;
    std::unique_ptr<lighting::LightingController> lighting_;
    std::unique_ptr<KeyboardWorker> worker_;
};

}  // namespace trevolin::app
