#include "core/app/KeyboardApp.h"

#include "core/platform/KeyboardLock.h"
#include "core/platform/Clock.h"
#include "core/profiles/ActiveProfile.h"

namespace trevolin::app {

namespace {

constexpr uint32_t SequenceLockWaitMs = 30000;

}  // namespace

// The session's way to the window. With the load on arrival, the arrival's
// profile sync becomes the load on the keyboard thread (the presence worker
// waits for it, so what follows the arrival, the window's opening included,
// comes after it); everything else goes to the front end's window as it is.
class KeyboardApp::WindowRelay final : public device::MainWindowLink {
public:
    WindowRelay(KeyboardApp& app, device::MainWindowLink& window) : app_(app), window_(window) {}

    void KeyboardGone() override { window_.KeyboardGone(); }
    void KeyboardArriving() override
    {
        // From the first read on, not only once the tables are read: the
        // window says "reading", never "no keyboard", meanwhile.
        if (app_.arrivalStarted_)
            app_.arrivalStarted_();
        window_.KeyboardArriving();
    }
    void ProfileSync() override
    {
        if (app_.loadOnArrival_)
            app_.OnProfileSync();
        else
            window_.ProfileSync();
    }
    void OpenWindow() override { window_.OpenWindow(); }
    void KeyBankChanged() override { window_.KeyBankChanged(); }
    void StartTimer(uint32_t id, uint32_t periodMs) override { window_.StartTimer(id, periodMs); }
    void SetNormalTrayPicture(int icon) override { window_.SetNormalTrayPicture(icon); }
    void ShowTemporaryTrayPicture(int icon) override { window_.ShowTemporaryTrayPicture(icon); }
    void RestoreTrayPicture() override { window_.RestoreTrayPicture(); }
    void ShowKeyBank(bool bankB) override { window_.ShowKeyBank(bankB); }
    void HideWindow() override { window_.HideWindow(); }
    bool InitComplete() override { return window_.InitComplete(); }
    InitWait WaitForInitComplete(uint32_t timeoutMs) override { return window_.WaitForInitComplete(timeoutMs); }
    void ShowMessage(std::string_view textKey) override { window_.ShowMessage(textKey); }

private:
    KeyboardApp& app_;
    device::MainWindowLink& window_;
};

KeyboardApp::Opened KeyboardApp::Open(KeyboardAppOptions options, const base::TextLookup& texts, base::Prompts& prompts,
                                      device::MainWindowLink& window)
{
    Opened opened;
    auto loaded = device::LoadHidLibrary(options.libraryName);
    if (loaded.error != device::LoadError::None) {
        opened.error =
            loaded.error == device::LoadError::ExportMissing ? OpenError::ExportMissing : OpenError::LibraryMissing;
        opened.detail = loaded.detail;
        return opened;
    }
    const bool startedHidden = options.startedHidden;
    std::unique_ptr<KeyboardApp> app(new KeyboardApp(std::move(options), texts, prompts, window, loaded.library));
    if (!app->session_->Start(startedHidden)) {
        opened.error = OpenError::StartFailed;
        return opened;
    }
    opened.app = std::move(app);
    return opened;
}

KeyboardApp::KeyboardApp(KeyboardAppOptions options, const base::TextLookup& texts, base::Prompts& prompts,
                         device::MainWindowLink& window, const device::HidLibrary& library)
    : libraryName_(std::move(options.libraryName)),
      library_(library),
      arrivalStarted_(std::move(options.arrivalStarted)),
      arrivalLoaded_(std::move(options.arrivalLoaded)),
      loadOnArrival_(options.loadOnArrival),
      relay_(std::make_unique<WindowRelay>(*this, window)),
      lightingFiles_(std::move(options.lightingFiles))
{
    session_ =
        std::make_unique<device::DeviceSession>(library_, *relay_, presenceWorkers_, platform::SteadyClock::Instance());
    session_->Commands().SetBeforeChange(std::move(options.beforeKeyboardChange));
    profiles_ = std::make_unique<profiles::KeyboardProfiles>(store_, *session_, std::move(options.userFolder), texts,
                                                             prompts, options.keyButtons);
    if (options.pendingChanged)
        profiles_->SetPendingListener(std::move(options.pendingChanged));
    lighting_ = std::make_unique<lighting::LightingController>(session_->Commands(), lightingFiles_, tints_);
    // Turning the lighting view on switches the keyboard to the profile it
    // shows, as a profile button would.
    lighting_->SetSelectProfile([this](int profile) { return profiles_->SelectProfile(profile); });
    KeyboardWorker::Guard guard;
    if (!options.keyboardLockPath.empty()) {
        guard = [this, path = options.keyboardLockPath]() -> std::shared_ptr<void> {
            // A command of trevolinctl takes seconds at most; past the wait
            // the sequence runs anyway rather than lock the user out.
            auto outcome = platform::KeyboardLock::Acquire(path, "trevolin", SequenceLockWaitMs,
                                                           platform::SteadyClock::Instance());
            // Whether trevolinctl changed the keyboard since the store was read.
            if (outcome.lock)
                profiles_->Outside().AtLock(outcome.lock->ChangeCount());
            return std::shared_ptr<platform::KeyboardLock>(std::move(outcome.lock));
        };
    }
    worker_ = std::make_unique<KeyboardWorker>(std::move(guard));
    session_->SetSequenceRunner([this](const std::function<void()>& reads) {
        // A worker that has stopped drops them: the program is ending.
        static_cast<void>(worker_->RunAndWait(reads));
    });
}

KeyboardApp::~KeyboardApp()
{
    // The session first: it cancels the exchange in flight, so the sequence
    // the keyboard thread runs fails fast instead of waiting out its
    // timeouts, and it joins the presence workers, which may wait for the
    // keyboard thread. Then the keyboard thread, before anything it uses
    // goes.
    session_->Stop();
    worker_->Stop();
}

void KeyboardApp::WaitForPresence()
{
    presenceWorkers_.JoinAll();
}

device::DeviceProblem KeyboardApp::AbsenceReason() const
{
    return device::DescribeDeviceProblem(library_);
}

void KeyboardApp::OnProfileSync()
{
    // A presence worker waits here, never the window, and never the keyboard
    // thread itself: the keyboard thread does not wait for presence workers.
    // (The window heard of the arrival before its first reads.)
    static_cast<void>(worker_->RunAndWait([this] {
        const ArrivalLoad load = LoadOnArrival();
        if (arrivalLoaded_)
            arrivalLoaded_(load);
    }));
}

ArrivalLoad KeyboardApp::LoadOnArrival()
{
    ArrivalLoad load;
    load.activeProfile = profiles_->OnProfileSync(&load.profiles);
    // The lighting addresses the profile OnProfileSync made current.
    load.lighting = lighting_->OnConnected();
    load.reportRate = lighting_->Mode().reportRate;
    return load;
}

bool KeyboardApp::SwitchToProfile(int profile, profiles::ProfileSelection* outcome)
{
    if (profiles::GetActiveProfile(*session_) == profile) {
        static_cast<void>(lighting_->SwitchProfile(profile));
        if (outcome) {
            *outcome = profiles::ProfileSelection{};
            outcome->index = profile;
        }
        return true;
    }
    // The lighting follows only once the keyboard has switched: a switch
    // that is refused (or called off by the user) leaves the lighting, its
    // view and its files as they were.
    if (!profiles_->SelectProfile(profile, outcome))
        return false;
    static_cast<void>(lighting_->SwitchProfile(profile));
    return true;
}

}  // namespace trevolin::app
