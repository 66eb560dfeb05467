#pragma once

#include <cstdint>
#include <string_view>

namespace trevolin::device {

// Main-window timers the keyboard's own notifications start.
inline constexpr uint32_t TIMER_LIGHTING_REFRESH = 1051;
inline constexpr uint32_t TIMER_KEYBOARD_RESET = 1053;

// Tray pictures.
inline constexpr int ICON_ABSENT = 128;
inline constexpr int ICON_PRESENT = 141;
inline constexpr int ICON_ACTIVITY = 142;

// How the device link reaches the main window. The desktop program implements
// it on the Qt main thread; the command line and the tests have their own.
//
// Threads. The device session calls in from two kinds of thread, never from
// the window's own:
// - the library's notification thread (L): it must never wait for the
//   window, or a window that waits in an exchange for a reply this thread
//   has to deliver would deadlock with it. Everything called on L is queued
//   for the window's thread and returns at once.
// - a presence worker (W), one at a time: it may wait for the window
//   (KeyboardGone, ProfileSync), since the library's thread stays free meanwhile.
class MainWindowLink {
public:
    // How a wait for the window's initialisation ended.
    enum class InitWait {
        Complete,    // the window is initialised
        TimedOut,    // it was not, within the time given
        CannotWait,  // this link cannot wait: ask InitComplete() from time to time
    };

    virtual ~MainWindowLink() = default;

    // W: the keyboard has gone; handled on the window's
    // thread before the call returns, so the window has closed its dialogs
    // before the keyboard counts as gone.
    virtual void KeyboardGone() = 0;
    // A keyboard has been found; its first reads begin (they may take
    // seconds on a slow keyboard). Called on the presence worker, before
    // ProfileSync; the window may say it is being read.
    virtual void KeyboardArriving() {}
    // W: a keyboard has arrived and been read: load the profiles from it;
    // handled before the call returns.
    virtual void ProfileSync() = 0;
    // W: queued. The first arrival shows the window.
    virtual void OpenWindow() = 0;
    // L: queued. The keyboard switched its G-key bank.
    virtual void KeyBankChanged() = 0;
    // L: queued (the lighting refresh and the keyboard-side reset).
    virtual void StartTimer(uint32_t id, uint32_t periodMs) = 0;
    // W: queued.
    virtual void SetNormalTrayPicture(int icon) = 0;
    // W (the session's activity worker): queued.
    virtual void ShowTemporaryTrayPicture(int icon) = 0;
    virtual void RestoreTrayPicture() = 0;
    // L: queued. The bank indicator and the G keys' labels: bank B when `bankB`.
    virtual void ShowKeyBank(bool bankB) = 0;
    // W: queued.
    virtual void HideWindow() = 0;
    // W: any thread may ask; it must not wait for the window's thread.
    virtual bool InitComplete() = 0;
    // W: waits at most `timeoutMs` for the initialisation to complete. A
    // link that can wait also stops waiting when its window closes.
    virtual InitWait WaitForInitComplete(uint32_t /*timeoutMs*/) { return InitWait::CannotWait; }
    // W: a plain message box showing the language text under `textKey`,
    // queued; the worker does not wait for the user to close it.
    virtual void ShowMessage(std::string_view textKey) = 0;
};

}  // namespace trevolin::device
