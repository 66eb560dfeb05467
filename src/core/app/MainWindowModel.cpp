#include "core/app/MainWindowModel.h"

#include "core/device/InfoBlock.h"
#include "core/keyboard/KeyClick.h"
#include "core/platform/MainWindowLink.h"
#include "core/profiles/ActiveProfile.h"
#include "core/profiles/ProfileMenu.h"

#include <charconv>
#include <filesystem>
#include <utility>

namespace trevolin::app {

namespace {

constexpr std::string_view NoDeviceText = "MAIN_NO_DEVICE_PROMPT";
constexpr std::string_view DefaultsText = "MAIN_PROMPT_DEFAULT";
constexpr std::string_view FlipName = "Flip";
constexpr std::string_view NoTrayToldName = "NoTrayTold";
constexpr std::string_view NoTrayText = "MAIN_NO_TRAY_PROMPT";

bool IsProfile(int profile)
{
    return profile >= 0 && profile < 3;
}

}  // namespace

// --- Tray picture -------------------------------------------------------------

std::optional<int> TrayPicture::Show(int icon)
{
    if (icon == current_)
        return std::nullopt;
    current_ = icon;
    return icon;
}

std::optional<int> TrayPicture::SetNormal(int icon)
{
    normal_ = icon;
    return Show(icon);
}

std::optional<int> TrayPicture::ShowTemporary(int icon)
{
    return Show(icon);
}

std::optional<int> TrayPicture::RestoreNormal()
{
    return Show(normal_);
}

// --- Main window ------------------------------------------------------------------

MainWindowModel::MainWindowModel(KeyboardApp& app, MainWindowView& view, platform::Prompts& prompts,
                                 const TextLookup& texts, const SettingsStore& settings, std::string helpFolder,
                                 PostToWindow toWindow)
    : app_(app),
      view_(view),
      prompts_(prompts),
      texts_(texts),
      settings_(settings),
      helpFolder_(std::move(helpFolder)),
      toWindow_(std::move(toWindow))
{
}

template <class Sequence, class Done>
bool MainWindowModel::RunBusy(Sequence sequence, Done done)
{
    if (exiting_)
        return false;
    if (busy_++ == 0)
        view_.SetBusy(true);
    const bool posted = app_.Post(std::move(sequence), [this, done = std::move(done)](auto result) mutable {
        toWindow_([this, done = std::move(done), result = std::move(result)]() mutable {
            EndBusy();
            done(std::move(result));
        });
    });
    if (!posted)
        EndBusy();
    return posted;
}

void MainWindowModel::EndBusy()
{
    if (busy_ > 0 && --busy_ == 0)
        view_.SetBusy(false);
}

bool MainWindowModel::OnMessage(uint32_t message, uint32_t code)
{
    switch (message) {
    case platform::MSG_OPEN:
        if (code != platform::CODE_OPEN)
            return false;
        ShowFromTray();
        CheckFirmware();
        return true;
    case MSG_KILL:
        if (code != CODE_KILL)
            return false;
        ExitPath();
        return true;
    case MSG_TRAY_INIT:
        if (code != CODE_INIT)
            return false;
        view_.CreateTray();
        view_.ShowProfileMenu(profiles::BuildProfileMenu(texts_, app_.Session().ActiveProfileCache()));
        initComplete_.store(true);
        if (view_.HasTray()) {
            view_.HideWindow();
        } else {
            // Nothing could bring a hidden window back.
            view_.SetKeyboardPresent(keyboardPresent_);
            view_.ShowWindow();
            TellNoTrayOnce();
        }
        return true;
    case platform::MSG_DEVICE_GONE:
        keyboardPresent_ = false;
        view_.CloseChildDialogs();
        view_.SetKeyboardPresent(false);
        return true;
    case platform::MSG_BANK_CHANGED:
        if (code != platform::CODE_DEL)
            return false;
        // The G keys now show the other bank's assignments.
        app_.Worker().Post([this] { app_.Profiles().RefreshKeyButtons(); }, "key buttons");
        return true;
    default:
        return false;
    }
}

void MainWindowModel::OnTimer(uint32_t id)
{
    if (id == platform::TIMER_LIGHTING_REFRESH) {
        app_.Post([this] { return app_.Lighting().OnLightingChanged(); },
                  [this](int) { toWindow_([this] { view_.RefreshLighting(); }); });
    } else if (id == platform::TIMER_KEYBOARD_RESET) {
        // The keyboard reset itself: its defaults are applied without a
        // question, and it ends on profile 1, as its button does.
        RestoreDefaults(false, [this](bool) { SelectProfile(0); });
    }
}

void MainWindowModel::OnArrivalLoaded(const ArrivalLoad& load)
{
    reportRate_ = load.reportRate;
    keyboardPresent_ = true;
    view_.SetKeyboardPresent(true);
    view_.SetApplyEnabled(app_.Profiles().ChangesPending());
    ShowSelection(load.activeProfile);
    view_.ShowKeyBank(app_.Session().BankB());
    view_.RefreshLighting();
}

void MainWindowModel::ShowKeyBank(bool bankB)
{
    view_.ShowKeyBank(bankB);
}

void MainWindowModel::HideToTray()
{
    // Without a tray nothing could bring the window back: it stays, with
    // its keyboard controls disabled.
    if (view_.HasTray())
        view_.HideWindow();
}

void MainWindowModel::SetNormalTrayPicture(int icon)
{
    if (const auto shown = tray_.SetNormal(icon))
        view_.SetTrayPicture(*shown);
}

void MainWindowModel::ShowTemporaryTrayPicture(int icon)
{
    if (const auto shown = tray_.ShowTemporary(icon))
        view_.SetTrayPicture(*shown);
}

void MainWindowModel::RestoreTrayPicture()
{
    if (const auto shown = tray_.RestoreNormal())
        view_.SetTrayPicture(*shown);
}

void MainWindowModel::ShowSelection(int active)
{
    view_.ShowActiveProfile(IsProfile(active) ? active : -1);
    view_.ShowProfileMenu(profiles::BuildProfileMenu(texts_, active));
}

bool MainWindowModel::OnCommand(uint32_t id)
{
    switch (id) {
    case command::Apply:
        return ApplyChanges();
    case command::Ok:
        // Without a tray a hidden window could not be brought back.
        return ApplyChanges([this](bool) {
            if (view_.HasTray())
                view_.HideWindow();
        });
    case command::Cancel:
        if (view_.HasTray())
            view_.HideWindow();
        return true;
    case command::RestoreDefaults:
        return RestoreDefaults(true);
    case command::Profile1:
    case command::Profile2:
    case command::Profile3:
        return SelectProfile(static_cast<int>(id - command::Profile1));
    case command::FlipLeft:
    case command::FlipRight:
        ToggleFlip();
        return true;
    case command::TrayOpen:
        ShowFromTray();
        return true;
    case command::Close:
    case command::TrayExit:
    case command::Exit:
        ExitPath();
        return true;
    default:
        if (const auto profile = profiles::ProfileMenu::ProfileOfCommand(id)) {
            // The default item (-1) only asks the keyboard again.
            return SelectProfile(*profile);
        }
        return false;
    }
}

void MainWindowModel::OnKeyClicked(uint32_t controlId)
{
    const auto decision = keyboard::DecideKeyClick(controlId, app_.Lighting().LightingViewOn(), app_.Session().BankB());
    switch (decision.action) {
    case keyboard::KeyClickAction::Nothing:
        return;
    case keyboard::KeyClickAction::PaintKey:
        static_cast<void>(RunBusy([this, id = decision.controlId] { return app_.Lighting().PaintKey(id); },
                                  [this](int) { view_.RefreshLighting(); }));
        return;
    case keyboard::KeyClickAction::OpenKeyAssignment:
        view_.OpenKeyAssignment(decision.target.controlId, decision.target.keyNumber, decision.target.macroOnly);
        return;
    }
}

void MainWindowModel::ShowFromTray()
{
    if (app_.Session().DeviceCount() > 0) {
        view_.ShowWindow();
        return;
    }
    prompts_.ShowMessage(NoDeviceText, texts_.Text(NoDeviceText), platform::Prompts::Style::Plain);
}

void MainWindowModel::CheckFirmware()
{
    if (app_.Session().DeviceCount() == 0)
        return;
    RunBusy(
        [this] {
            device::InfoBlock info;
            const int result = app_.Session().Commands().ReadInfo(info.bytes.data());
            return result == device::ResultOk ? std::optional<uint16_t>(info.FirmwareVersion()) : std::nullopt;
        },
        [this](std::optional<uint16_t> version) {
            // A version that could not be read is not a version too old:
            // asking for an update that Cancel answers by ending the program
            // would lock out a user whose keyboard just went away.
            if (!version || *version >= MinimumFirmwareVersion)
                return;
            if (!prompts_.AskOkCancel(FirmwareTooOldKey, FirmwareTooOldText)) {
                // Through the exit path: a sequence may still be running.
                ExitPath();
                return;
            }
            const std::string updater = helpFolder_ + std::string(FirmwareUpdater);
            if (!view_.StartProgram(updater, helpFolder_))
                prompts_.ShowMessage(UpdaterMissingKey,
                                     "The firmware updater " + updater +
                                         " could not be started. Update the keyboard's firmware with the maker's "
                                         "updater, then start Trevolin again.",
                                     platform::Prompts::Style::Plain);
        });
}

bool MainWindowModel::ApplyChanges(std::function<void(bool ok)> then)
{
    if (Busy())
        return false;
    return RunBusy(
        [this] {
            profiles::ApplyReport report;
            const bool ok = app_.Profiles().ApplyChanges(&report);
            return ok;
        },
        [this, then = std::move(then)](bool ok) {
            view_.SetApplyEnabled(app_.Profiles().ChangesPending());
            if (then)
                then(ok);
        });
}

bool MainWindowModel::RestoreDefaults(bool ask, std::function<void(bool ok)> then)
{
    if (Busy())
        return false;
    if (ask && !prompts_.AskYesNo(DefaultsText, texts_.Text(DefaultsText)))
        return false;
    return RunBusy(
        [this] {
            const bool reset = app_.Profiles().ResetActiveProfileKeys();
            if (app_.Lighting().LightingViewOn())
                static_cast<void>(app_.Lighting().RestoreDefaults());
            return reset;
        },
        [this, then = std::move(then)](bool) mutable {
            reportRate_ = 0;
            view_.ShowReportRate(0);
            view_.RefreshLighting();
            if (!ApplyChanges(std::move(then)) && then)
                then(false);
        });
}

bool MainWindowModel::SelectProfile(int profile)
{
    if (Busy())
        return false;
    struct Selected {
        bool ok = false;
        int active = -1;
    };
    return RunBusy(
        [this, profile] {
            Selected s;
            s.ok = IsProfile(profile) ? app_.SwitchToProfile(profile) : app_.Profiles().SelectProfile(profile);
            s.active = profiles::GetActiveProfile(app_.Session());
            return s;
        },
        [this](Selected s) {
            ShowSelection(s.active);
            view_.SetApplyEnabled(app_.Profiles().ChangesPending());
            view_.RefreshLighting();
        });
}

bool MainWindowModel::ChooseReportRate(int rate)
{
    if (Busy())
        return false;
    return RunBusy(
        [this, rate] {
            static_cast<void>(app_.Lighting().ReportRateChosen(rate));
            return static_cast<int>(app_.Lighting().Mode().reportRate);
        },
        [this](int held) {
            reportRate_ = held;
            view_.ShowReportRate(held);
        });
}

bool MainWindowModel::Backup(const std::string& path)
{
    if (Busy())
        return false;
    return RunBusy([this, path] { return app_.Profiles().Backup(path); },
                   [this, path](bool ok) {
                       if (!ok)
                           prompts_.ShowMessage("BACKUP_FAILED", "The profiles could not be written to " + path + ".",
                                                platform::Prompts::Style::Plain);
                   });
}

bool MainWindowModel::Restore(const std::string& path)
{
    if (Busy())
        return false;
    // A refused or unreadable file, or a keyboard that did not take it, is
    // told by the restore itself.
    return RunBusy([this, path] { return app_.Profiles().Restore(path); },
                   [this](bool) {
                       view_.SetApplyEnabled(app_.Profiles().ChangesPending());
                       ShowSelection(app_.Session().ActiveProfileCache());
                   });
}

void MainWindowModel::ExitPath()
{
    if (exiting_)
        return;
    view_.HideWindow();
    if (!view_.CloseChildDialogs())
        return;
    exiting_ = true;
    // A question the keyboard thread waits on would hold the end up until
    // the user answers it; it reads No now.
    prompts_.EndQuestions();
    // The store is freed only after the sequence that runs now, and those
    // queued before, have finished.
    const bool posted = app_.Post([] { return 0; }, [this](int) { toWindow_([this] { view_.EndProgram(0); }); });
    if (!posted)
        view_.EndProgram(0);
}

void MainWindowModel::TellNoTrayOnce()
{
    // Once per user: the desktop will not grow a tray by itself.
    if (settings_.ProfileString(NoTrayToldName, "0") == "1")
        return;
    static_cast<void>(settings_.SetProfileString(NoTrayToldName, "1"));
    prompts_.ShowMessage(NoTrayText, texts_.Text(NoTrayText), platform::Prompts::Style::Plain);
}

bool MainWindowModel::Flipped() const
{
    const std::string value = settings_.ProfileString(FlipName, "0");
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    static_cast<void>(end);
    return error == std::errc() && number != 0;
}

void MainWindowModel::ToggleFlip()
{
    // A setting that cannot be written leaves the keys as they are.
    static_cast<void>(settings_.SetProfileString(FlipName, Flipped() ? "0" : "1"));
    ShowFlip();
}

void MainWindowModel::ShowFlip()
{
    view_.ShowFlip(Flipped());
}

}  // namespace trevolin::app
