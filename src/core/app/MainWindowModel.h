#pragma once

#include "core/app/KeyboardApp.h"
#include "core/app/LightingPanelModel.h"
#include "core/app/MainWindowView.h"
#include "core/base/SettingsStore.h"
#include "core/keyboard/KeyClick.h"
#include "core/base/TextLookup.h"
#include "core/base/Prompts.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace trevolin::app {

// Main-window commands that are not key buttons.
namespace command {
inline constexpr uint32_t Ok = 1;
inline constexpr uint32_t Cancel = 2;
inline constexpr uint32_t Apply = 1006;
inline constexpr uint32_t MacroButton = 1007;
inline constexpr uint32_t ProfileMenu = 1009;
inline constexpr uint32_t Close = 1124;
inline constexpr uint32_t FlipLeft = 1130;
inline constexpr uint32_t FlipRight = 1131;
inline constexpr uint32_t Profile1 = 1135;
inline constexpr uint32_t Profile2 = 1136;
inline constexpr uint32_t Profile3 = 1137;
inline constexpr uint32_t RestoreDefaults = 1138;
inline constexpr uint32_t TrayOpen = 32771;
inline constexpr uint32_t About = 32773;
inline constexpr uint32_t TrayExit = 32774;
inline constexpr uint32_t RestoreFile = 32776;
inline constexpr uint32_t BackupFile = 32777;
inline constexpr uint32_t Exit = 32779;
}  // namespace command

// The firmware version below which the user is asked to update, and the
// updater the check starts from the Help folder.
inline constexpr uint16_t MinimumFirmwareVersion = 0x0105;
inline constexpr std::string_view FirmwareUpdater = "UPDATE-DRAVIK-94KEY-V0105-20210306";
inline constexpr std::string_view FirmwareTooOldKey = "VERSION_TOO_LOW";
inline constexpr std::string_view FirmwareTooOldText = "The current version is too low!";
inline constexpr std::string_view UpdaterMissingKey = "VERSION_UPDATER_MISSING";

// The picture the tray shows: the one presence handling set last, or for a
// while the keyboard's alternate-state picture.
class TrayPicture {
public:
    // The picture to show now, or nothing when it is shown already.
    std::optional<int> SetNormal(int icon);
    std::optional<int> ShowTemporary(int icon);
    std::optional<int> RestoreNormal();
    int Current() const { return current_; }

private:
    std::optional<int> Show(int icon);

    int current_ = 128;
    int normal_ = 128;
};

// The main window's presentation model: what each private message, timer
// and command does, decided without widgets. It runs on the window's
// thread; keyboard sequences go to the keyboard thread, and their
// completions come back through `toWindow`, which must run the function it
// is given on the window's thread later (never at once).
class MainWindowModel {
public:
    using PostToWindow = std::function<void(std::function<void()>)>;

    MainWindowModel(KeyboardApp& app, MainWindowView& view, base::Prompts& prompts, const base::TextLookup& texts,
                    base::SettingsStore& settings, std::string helpFolder, PostToWindow toWindow);

    // --- From the device link and a second instance (window thread) --------
    // The end of the program's start: the tray, the profile menu, and the
    // window hidden to the tray (or shown where there is none).
    void FinishInitialisation();
    // The first arrival, or a second start: the window is shown from the
    // tray and the firmware is checked.
    void OnOpen();
    // The keyboard has gone: dialogs close, the user is told once.
    void OnKeyboardGone();
    // The keyboard switched its G-key bank: the G keys show the other bank.
    void OnKeyBankChanged();
    // Another program of the user (trevolinctl) has changed the keyboard:
    // read it again, asking first when changes are not yet applied.
    void OnKeyboardChangedElsewhere();
    void OnTimer(uint32_t id);
    // A keyboard was found and is being read; the load on arrival has
    // finished on the keyboard thread.
    void OnArrivalStarted();
    void OnArrivalLoaded(const ArrivalLoad& load);
    // The user asks for a keyboard that could not be read to be read again.
    // False when there is no such keyboard or a sequence runs.
    bool ReadAgain();
    // The bank indicator and the G keys' labels.
    void ShowKeyBank(bool bankB);
    // After the language changed: the keys, the profile menu and the
    // lighting panel show their texts again (the window relabels itself).
    void ShowTextsAgain();
    // The keyboard has gone: hidden to the tray, where there is one.
    void HideToTray();
    void SetNormalTrayPicture(int icon);
    void ShowTemporaryTrayPicture(int icon);
    void RestoreTrayPicture();
    // Any thread: the presence worker waits for it.
    bool InitComplete() const { return initComplete_.load(); }

    // --- The user (window thread) ---------------------------------------------
    // False when the command was refused (a keyboard sequence runs).
    bool OnCommand(uint32_t id);
    void OnKeyClicked(uint32_t controlId);
    // Both say how they went; a restore asks first, naming the file.
    [[nodiscard]] bool Backup(const std::string& path);
    // The update dialog's Update, once the updater was checked: the keyboard
    // is asked for its update (boot) mode on the keyboard thread, and
    // `then` hears on the window's thread whether it took the request.
    // False when refused (a sequence runs).
    bool RequestBootMode(std::function<void(bool ok)> then);
    [[nodiscard]] bool Restore(const std::string& path);

    void ShowFromTray();
    // The Apply button; `then` runs on the window's thread afterwards with
    // whether the store reached the keyboard and the profile file. A
    // failure is told.
    bool ApplyChanges(std::function<void(bool ok)> then = {});
    // The clock was set: pending changes go to the keyboard, after the
    // running sequence when one runs.
    void ApplyWhenIdle();
    bool RestoreDefaults(bool ask, std::function<void(bool ok)> then = {});
    bool SelectProfile(int profile);
    // A report-rate button (0 to 3).
    bool ChooseReportRate(int rate);
    void ExitPath();
    // The user ends the program (close button, menu, tray): changes not
    // yet on the keyboard are applied, discarded or the end is called off,
    // as the user chooses; then the exit path.
    void ExitAsked();
    void ToggleFlip();
    void ShowFlip();

    bool Busy() const { return busy_ > 0; }
    bool ApplyPending() const { return app_.Profiles().ChangesPending(); }
    // The report rate as the keyboard thread last read or wrote it.
    int ReportRate() const { return reportRate_; }
    bool Exiting() const { return exiting_; }
    // Unreadable: attached, but the last read failed; nothing the window
    // holds of it can be shown as the keyboard's.
    enum class KeyboardState { Absent, Reading, Unreadable, Present };
    KeyboardState Keyboard() const { return keyboard_; }
    // Why there is no keyboard, in a sentence for the window.
    std::string AbsenceSentence() const;
    const TrayPicture& Tray() const { return tray_; }
    // The lighting panel's changes (window thread).
    LightingPanelModel& Lighting() { return lighting_; }

private:
    // Runs `sequence` on the keyboard thread and `done` with its result on
    // the window's thread, showing the busy indicator meanwhile.
    template <class Sequence, class Done>
    bool RunBusy(Sequence sequence, Done done);
    void EndBusy();
    // Runs `work` now, or once no keyboard sequence runs: work the keyboard
    // asked for (its reset, a clock change) is never dropped.
    void WhenIdle(std::function<void()> work);
    void RunDeferred();
    void TellFailure(std::string_view key, const std::string& text);
    void ShowReading();
    void ShowReportRateHeld(int rate);
    void Reload();
    void CheckFirmware();
    void ShowSelection(int active);
    bool Flipped() const;
    void TellNoTrayOnce();

    KeyboardApp& app_;
    MainWindowView& view_;
    base::Prompts& prompts_;
    const base::TextLookup& texts_;
    base::SettingsStore& settings_;
    // A key clicked while a sequence ran: its dialog opens afterwards.
    std::optional<keyboard::KeyAssignmentTarget> waitingKey_;
    std::string helpFolder_;
    PostToWindow toWindow_;

    std::atomic<bool> initComplete_{false};
    int busy_ = 0;
    int reportRate_ = 0;
    // The window's picture of the keyboard: read on arrival, gone on
    // removal (the session's count follows later, after the window's part).
    KeyboardState keyboard_ = KeyboardState::Absent;
    std::deque<std::function<void()>> deferred_;
    bool exiting_ = false;
    TrayPicture tray_;
    LightingPanelModel lighting_;
};

}  // namespace trevolin::app
