#include "core/app/MainWindowModel.h"

#include "core/base/FormatText.h"
#include "core/app/WindowMessages.h"
#include "core/device/InfoBlock.h"
#include "core/device/ResultDescription.h"
#include "core/keyboard/KeyClick.h"
#include "core/device/MainWindowLink.h"
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

MainWindowModel::MainWindowModel(KeyboardApp& app, MainWindowView& view, base::Prompts& prompts,
                                 const base::TextLookup& texts, base::SettingsStore& settings, std::string helpFolder,
                                 PostToWindow toWindow)
    : app_(app),
      view_(view),
      prompts_(prompts),
      texts_(texts),
      settings_(settings),
      helpFolder_(std::move(helpFolder)),
      toWindow_(std::move(toWindow)),
      lighting_(
          app, texts, toWindow_, [this](const LightingSnapshot& lighting) { view_.ShowLighting(lighting); },
          [this](std::string_view key, const std::string& text) { TellFailure(key, text); })
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
            RunDeferred();
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

void MainWindowModel::WhenIdle(std::function<void()> work)
{
    if (exiting_)
        return;
    deferred_.push_back(std::move(work));
    RunDeferred();
}

void MainWindowModel::RunDeferred()
{
    // One at a time: work that starts a sequence leaves the rest waiting
    // for that one's end.
    while (!Busy() && !exiting_ && !deferred_.empty()) {
        auto work = std::move(deferred_.front());
        deferred_.pop_front();
        work();
    }
}

void MainWindowModel::TellFailure(std::string_view key, const std::string& text)
{
    prompts_.ShowMessage(key, text, base::Prompts::Style::Warning);
}

void MainWindowModel::ShowReportRateHeld(int rate)
{
    reportRate_ = rate;
    view_.ShowReportRate(rate);
}

std::string MainWindowModel::AbsenceSentence() const
{
    const bool simulated = app_.LibraryName() == device::SimulatedHidLibrary;
    return DescribeAbsence(app_.AbsenceReason(), simulated, texts_).sentence;
}

void MainWindowModel::OnOpen()
{
    ShowFromTray();
    CheckFirmware();
}

void MainWindowModel::FinishInitialisation()
{
    view_.CreateTray();
    view_.ShowProfileMenu(profiles::BuildProfileMenu(texts_, app_.Session().ActiveProfileCache()));
    initComplete_.store(true);
    if (keyboard_ == KeyboardState::Absent)
        view_.ShowNotice(AbsenceSentence(), MainWindowView::Notice::Plain);
    if (view_.HasTray()) {
        view_.HideWindow();
    } else {
        // Nothing could bring a hidden window back.
        view_.SetKeyboardPresent(keyboard_ == KeyboardState::Present);
        view_.ShowWindow();
        TellNoTrayOnce();
    }
}

void MainWindowModel::OnKeyboardGone()
{
    const bool wasThere = keyboard_ != KeyboardState::Absent;
    keyboard_ = KeyboardState::Absent;
    view_.CloseChildDialogs();
    view_.SetKeyboardPresent(false);
    view_.SetTrayTip({});
    if (!wasThere)
        return;
    // Told once, where the user looks: beside the tray, where the
    // window goes, else in the window that stays.
    const std::string left = TextOr(texts_, message::KeyboardLeft, "The keyboard was disconnected.");
    view_.ShowNotice(left + " " + AbsenceSentence(), MainWindowView::Notice::Plain);
    if (view_.HasTray())
        static_cast<void>(view_.Notify(left));
}

void MainWindowModel::OnKeyBankChanged()
{
    // The G keys now show the other bank's assignments.
    app_.Worker().Post([this] { app_.Profiles().RefreshKeyButtons(); }, "key buttons");
}

void MainWindowModel::OnKeyboardChangedElsewhere()
{
    // A keyboard that could not be read is tried again: the other program
    // got through.
    if (ReadAgain() || keyboard_ != KeyboardState::Present)
        return;
    // The window's copy is stale: read the keyboard again, unless the
    // user keeps changes not yet applied.
    if (ApplyPending() &&
        !prompts_.AskYesNo(message::ChangedElsewhere, TextOr(texts_, message::ChangedElsewhere,
                                                             "Another Trevolin program changed the keyboard. Read it "
                                                             "again? Changes not yet applied here would be lost.")))
        return;
    WhenIdle([this] { Reload(); });
}

void MainWindowModel::Reload()
{
    // A dialog's copy of the keys and macros would be stale: it closes as
    // by Cancel before the store is read again.
    view_.CloseChildDialogs();
    RunBusy([this] { return app_.LoadOnArrival(); }, [this](const ArrivalLoad& load) { OnArrivalLoaded(load); });
}

void MainWindowModel::OnTimer(uint32_t id)
{
    if (id == device::TIMER_LIGHTING_REFRESH) {
        app_.Post(
            [this] {
                static_cast<void>(app_.Lighting().OnLightingChanged());
                return static_cast<int>(app_.Lighting().Mode().reportRate);
            },
            [this](int rate) {
                toWindow_([this, rate] {
                    ShowReportRateHeld(rate);
                    lighting_.Refresh();
                });
            });
    } else if (id == device::TIMER_KEYBOARD_RESET) {
        // The keyboard reset itself: its defaults are applied without a
        // question, and it ends on profile 1, as its button does. A sequence
        // that runs now is finished first, or the next Apply would undo the
        // reset.
        WhenIdle([this] {
            view_.CloseChildDialogs();
            RestoreDefaults(false, [this](bool) { WhenIdle([this] { SelectProfile(0); }); });
        });
    }
}

void MainWindowModel::OnArrivalStarted()
{
    if (keyboard_ == KeyboardState::Present)
        return;
    ShowReading();
}

void MainWindowModel::ShowReading()
{
    keyboard_ = KeyboardState::Reading;
    const std::string reading = TextOr(texts_, message::Reading, "Reading the keyboard...");
    view_.ShowNotice(reading, MainWindowView::Notice::Reading);
    view_.SetTrayTip(reading);
}

bool MainWindowModel::ReadAgain()
{
    if (keyboard_ != KeyboardState::Unreadable || Busy() || exiting_)
        return false;
    ShowReading();
    Reload();
    return true;
}

void MainWindowModel::OnArrivalLoaded(const ArrivalLoad& load)
{
    // The store then holds the default image, or the lighting what the
    // program assumed: showing either as the keyboard's would mislead, and
    // setting keys on it would replace what the keyboard holds.
    if (load.profiles.source != profiles::LoadReport::Source::Keyboard || load.lighting != device::ResultOk) {
        keyboard_ = KeyboardState::Unreadable;
        std::string reason = load.profiles.read.problem;
        if (load.profiles.source == profiles::LoadReport::Source::Keyboard || reason.empty())
            reason = "reading its lighting failed: " + device::DescribeResult(load.lighting, texts_);
        view_.SetKeyboardPresent(false);
        view_.ShowActiveProfile(-1);
        view_.ShowNotice(base::FormatText(TextOr(texts_, message::ReadFailed,
                                                 "Trevolin could not read the keyboard: %s. Nothing was changed on "
                                                 "it, and its keys cannot be set until it is read. Try again, or "
                                                 "unplug it and plug it in again."),
                                          reason),
                         MainWindowView::Notice::ReadFailed);
        view_.SetTrayTip(TextOr(texts_, message::ReadFailedTip, "The keyboard could not be read."));
        return;
    }
    keyboard_ = KeyboardState::Present;
    view_.ShowNotice({}, MainWindowView::Notice::Plain);
    view_.SetTrayTip({});
    view_.SetKeyboardPresent(true);
    view_.SetApplyEnabled(app_.Profiles().ChangesPending());
    ShowSelection(load.activeProfile);
    view_.ShowKeyBank(app_.Session().BankB());
    ShowReportRateHeld(load.reportRate);
    lighting_.Refresh();
}

void MainWindowModel::ShowKeyBank(bool bankB)
{
    view_.ShowKeyBank(bankB);
}

void MainWindowModel::ShowTextsAgain()
{
    ShowSelection(app_.Session().ActiveProfileCache());
    if (keyboard_ == KeyboardState::Present) {
        OnKeyBankChanged();
        lighting_.Refresh();
    }
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
        // Hidden only once the changes are on the keyboard, and only where
        // a tray can bring the window back.
        return ApplyChanges([this](bool ok) {
            if (ok && view_.HasTray())
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
        ExitAsked();
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
        lighting_.PaintKey(decision.controlId);
        return;
    case keyboard::KeyClickAction::OpenKeyAssignment:
        if (Busy()) {
            // The store is being read or written: the dialog opens, for the
            // last key clicked, once that has finished.
            const bool waiting = waitingKey_.has_value();
            waitingKey_ = decision.target;
            if (!waiting) {
                WhenIdle([this] {
                    const auto target = *waitingKey_;
                    waitingKey_.reset();
                    if (keyboard_ == KeyboardState::Present)
                        view_.OpenKeyAssignment(target.controlId, target.keyNumber, target.macroOnly);
                });
            }
            return;
        }
        view_.OpenKeyAssignment(decision.target.controlId, decision.target.keyNumber, decision.target.macroOnly);
        return;
    }
}

void MainWindowModel::ShowFromTray()
{
    // A keyboard being read shows the window in its reading state.
    if (app_.Session().DeviceCount() > 0 || keyboard_ == KeyboardState::Reading) {
        view_.ShowWindow();
        return;
    }
    prompts_.ShowMessage(NoDeviceText, AbsenceSentence(), base::Prompts::Style::Plain);
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
                                     base::Prompts::Style::Warning);
        });
}

bool MainWindowModel::ApplyChanges(std::function<void(bool ok)> then)
{
    if (Busy())
        return false;
    struct Applied {
        bool ok = false;
        profiles::ApplyReport report;
    };
    return RunBusy(
        [this] {
            Applied a;
            a.ok = app_.Profiles().ApplyChanges(&a.report);
            return a;
        },
        [this, then = std::move(then)](const Applied& a) {
            view_.SetApplyEnabled(app_.Profiles().ChangesPending());
            if (!a.ok)
                TellFailure(message::ApplyFailed, ApplyFailureText(a.report, texts_, app_.Profiles().Folder().path));
            if (then)
                then(a.ok);
        });
}

void MainWindowModel::ApplyWhenIdle()
{
    WhenIdle([this] { static_cast<void>(ApplyChanges()); });
}

bool MainWindowModel::RestoreDefaults(bool ask, std::function<void(bool ok)> then)
{
    if (Busy())
        return false;
    if (ask && !prompts_.AskYesNo(DefaultsText, texts_.Text(DefaultsText)))
        return false;
    struct Reset {
        int lighting = device::ResultOk;
        int reportRate = 0;
    };
    return RunBusy(
        [this] {
            Reset r;
            static_cast<void>(app_.Profiles().ResetActiveProfileKeys());
            if (app_.Lighting().LightingViewOn()) {
                r.lighting = app_.Lighting().RestoreDefaults();
                // What the keyboard holds, not what was meant for it.
                if (r.lighting != device::ResultOk)
                    static_cast<void>(app_.Lighting().OnLightingChanged());
            }
            r.reportRate = app_.Lighting().Mode().reportRate;
            return r;
        },
        [this, then = std::move(then)](const Reset& r) mutable {
            ShowReportRateHeld(r.reportRate);
            lighting_.Refresh();
            if (r.lighting != device::ResultOk)
                TellFailure(message::RateFailed, "The keyboard did not take the default lighting: " +
                                                     device::DescribeResult(r.lighting, texts_) + ".");
            // The keys' defaults go to the keyboard by the Apply; its end
            // runs `then`, which must run even when the Apply cannot start.
            auto next = then;
            if (!ApplyChanges(std::move(then)) && next)
                next(false);
        });
}

bool MainWindowModel::SelectProfile(int profile)
{
    if (Busy())
        return false;
    struct Selected {
        bool ok = false;
        int active = -1;
        int reportRate = 0;
    };
    return RunBusy(
        [this, profile] {
            Selected s;
            s.ok = IsProfile(profile) ? app_.SwitchToProfile(profile) : app_.Profiles().SelectProfile(profile);
            s.active = profiles::GetActiveProfile(app_.Session());
            s.reportRate = app_.Lighting().Mode().reportRate;
            return s;
        },
        [this, profile](const Selected& s) {
            ShowSelection(s.active);
            view_.SetApplyEnabled(app_.Profiles().ChangesPending());
            ShowReportRateHeld(s.reportRate);
            lighting_.Refresh();
            if (!s.ok && IsProfile(profile))
                TellFailure(
                    message::SwitchFailed,
                    base::FormatText(TextOr(texts_, message::SwitchFailed,
                                            "The keyboard did not switch to profile %d. It may not take changes: "
                                            "unplug it, plug it in again and try once more."),
                                     profile + 1));
        });
}

bool MainWindowModel::ChooseReportRate(int rate)
{
    if (Busy())
        return false;
    struct Chosen {
        int result = device::ResultOk;
        int held = 0;
    };
    return RunBusy(
        [this, rate] {
            Chosen c;
            const int before = app_.Lighting().Mode().reportRate;
            c.result = app_.Lighting().ReportRateChosen(rate);
            c.held = app_.Lighting().Mode().reportRate;
            if (c.result != device::ResultOk) {
                // Shown as the keyboard holds it: read back, or as it was.
                c.held = app_.Lighting().OnLightingChanged() == device::ResultOk
                             ? static_cast<int>(app_.Lighting().Mode().reportRate)
                             : before;
            }
            return c;
        },
        [this](const Chosen& c) {
            ShowReportRateHeld(c.held);
            if (c.result != device::ResultOk)
                TellFailure(message::RateFailed,
                            base::FormatText(
                                TextOr(texts_, message::RateFailed, "The keyboard did not take the report rate: %s."),
                                device::DescribeResult(c.result, texts_)));
        });
}

bool MainWindowModel::Backup(const std::string& path)
{
    if (Busy())
        return false;
    // A store that never came from the keyboard holds the default profile:
    // a backup of it would not be the keyboard's.
    if (app_.Profiles().Origin() == profiles::StoreOrigin::NotFromKeyboard) {
        TellFailure(message::BackupNotRead,
                    TextOr(texts_, message::BackupNotRead,
                           "The keyboard's profiles have not been read, so there is nothing to back up yet."));
        return false;
    }
    if (app_.Profiles().MissingKeyAssignments()) {
        TellFailure(message::BackupLacksKeys,
                    TextOr(texts_, message::BackupLacksKeys,
                           "The keyboard's default key map could not be read, so a backup would lack some key "
                           "assignments. Unplug the keyboard and plug it in again, then back up."));
        return false;
    }
    return RunBusy(
        [this, path] { return app_.Profiles().Backup(path); },
        [this, path](bool ok) {
            if (ok)
                prompts_.ShowMessage(
                    message::BackupDone,
                    base::FormatText(TextOr(texts_, message::BackupDone, "Every profile was backed up to %s."), path),
                    base::Prompts::Style::Plain);
            else
                TellFailure(message::BackupFailed, base::FormatText(TextOr(texts_, message::BackupFailed,
                                                                           "The profiles could not be written to %s."),
                                                                    path));
        });
}

bool MainWindowModel::RequestBootMode(std::function<void(bool ok)> then)
{
    if (Busy())
        return false;
    return RunBusy([this] { return app_.Session().Commands().EnterBootMode() == 1; },
                   [then = std::move(then)](bool ok) {
                       if (then)
                           then(ok);
                   });
}

bool MainWindowModel::Restore(const std::string& path)
{
    if (Busy())
        return false;
    // Every profile and macro on the keyboard is replaced: the user says so.
    if (!prompts_.AskYesNo(
            message::RestoreAsk,
            base::FormatText(TextOr(texts_, message::RestoreAsk,
                                    "Replace all three profiles and every macro on the keyboard with those "
                                    "in %s?"),
                             path)))
        return false;
    // A refused or unreadable file, or a keyboard that did not take it, is
    // told by the restore itself, with its reason.
    return RunBusy([this, path] { return app_.Profiles().Restore(path); },
                   [this, path](bool ok) {
                       view_.SetApplyEnabled(app_.Profiles().ChangesPending());
                       ShowSelection(app_.Session().ActiveProfileCache());
                       if (ok)
                           prompts_.ShowMessage(message::RestoreDone,
                                                base::FormatText(TextOr(texts_, message::RestoreDone,
                                                                        "The keyboard now holds the profiles from %s."),
                                                                 path),
                                                base::Prompts::Style::Plain);
                   });
}

void MainWindowModel::ExitAsked()
{
    if (exiting_)
        return;
    // A running sequence (an Apply, say) decides what is pending.
    if (Busy()) {
        WhenIdle([this] { ExitAsked(); });
        return;
    }
    if (!ApplyPending()) {
        ExitPath();
        return;
    }
    switch (prompts_.AskApplyDiscardCancel(
        message::ExitPending, TextOr(texts_, message::ExitPending,
                                     "Some changes have not been sent to the keyboard yet. Apply them before "
                                     "Trevolin ends?"))) {
    case base::Prompts::Choice::Apply:
        // A failed Apply is told and the program stays, with the changes.
        WhenIdle([this] {
            static_cast<void>(ApplyChanges([this](bool ok) {
                if (ok)
                    ExitPath();
            }));
        });
        return;
    case base::Prompts::Choice::Discard:
        ExitPath();
        return;
    case base::Prompts::Choice::Cancel:
        return;
    }
}

void MainWindowModel::ExitPath()
{
    if (exiting_)
        return;
    view_.HideWindow();
    if (!view_.CloseChildDialogs())
        return;
    exiting_ = true;
    deferred_.clear();
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
    prompts_.ShowMessage(NoTrayText, texts_.Text(NoTrayText), base::Prompts::Style::Plain);
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
