#pragma once

#include "core/app/LightingPanelModel.h"
#include "core/profiles/ProfileMenu.h"

#include <cstdint>
#include <string>

namespace trevolin::app {

// What the main window's presentation model asks of the window. The desktop
// program implements it with widgets; tests record the calls. Every call
// comes on the window's thread.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    // Shown normally, with a taskbar button, and brought to the front.
    virtual void ShowWindow() = 0;
    // Hidden to the tray (no taskbar button).
    virtual void HideWindow() = 0;
    // Whether a tray icon exists to bring the window back; without one the
    // window must stay reachable.
    virtual bool HasTray() const = 0;
    virtual void CreateTray() = 0;
    virtual void SetTrayPicture(int icon) = 0;

    // The busy indicator runs while a keyboard sequence does.
    virtual void SetBusy(bool busy) = 0;
    virtual void SetApplyEnabled(bool enabled) = 0;
    // The keyboard's controls: disabled, with a plain "no keyboard" state,
    // while no keyboard is attached.
    virtual void SetKeyboardPresent(bool present) = 0;
    // The notice over the keyboard while it cannot be used: why there is
    // none, that it is being read (the busy indicator runs meanwhile), or
    // that it could not be read (with a way to read it again, which calls
    // MainWindowModel::ReadAgain). An empty text removes the notice.
    enum class Notice { Plain, Reading, ReadFailed };
    virtual void ShowNotice(const std::string& text, Notice kind) = 0;
    // The tray's tooltip; empty: the usual one.
    virtual void SetTrayTip(const std::string& tip) = 0;
    // A short notification beside the tray; false where there is no tray.
    virtual bool Notify(const std::string& text) = 0;
    // Profile button `profile` (0 to 2) pressed, the other two released;
    // -1 releases all three.
    virtual void ShowActiveProfile(int profile) = 0;
    virtual void ShowProfileMenu(const profiles::ProfileMenu& menu) = 0;
    // The G keys' labels and the bank indicator.
    virtual void ShowKeyBank(bool bankB) = 0;
    // F1 to F4 enabled and D1 to D6 disabled, or the other way round.
    virtual void ShowFlip(bool flipped) = 0;
    // The report-rate buttons: `rate` (0 to 3) ticked.
    virtual void ShowReportRate(int rate) = 0;
    // The lighting panel, the preview and the key tints show `lighting`.
    virtual void ShowLighting(const LightingSnapshot& lighting) = 0;

    // The key assignment dialog for a key (the dialog comes later; the view
    // may only note the request).
    virtual void OpenKeyAssignment(uint16_t controlId, uint16_t keyNumber, bool macroOnly) = 0;
    // Closes the about box and every child dialog; false when one refuses.
    virtual bool CloseChildDialogs() = 0;

    // Starts a program (the firmware updater) in `folder`; false when it
    // could not be started.
    virtual bool StartProgram(const std::string& program, const std::string& folder) = 0;
    // Ends the program with `exitCode`, after the window's own clean-up.
    virtual void EndProgram(int exitCode) = 0;
};

}  // namespace trevolin::app
