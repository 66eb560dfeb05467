#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace trevolin::device {

// Private messages to the main window; wParam carries a four-character code
// that the receiver checks before acting.
inline constexpr uint32_t MSG_DEVICE_GONE = 0x4753;
inline constexpr uint32_t MSG_PROFILE_SYNC = 0x5452;
inline constexpr uint32_t MSG_OPEN = 0x5350;
inline constexpr uint32_t MSG_BANK_CHANGED = 0x5045;

inline constexpr uint32_t CODE_PROF = 0x50524F46;
inline constexpr uint32_t CODE_OPEN = 0x4F50454E;
inline constexpr uint32_t CODE_DEL = 0x004C4544;

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
//   (SendMessage), since the library's thread stays free meanwhile.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    // W: handled on the window's thread before the call returns
    // (MSG_DEVICE_GONE, MSG_PROFILE_SYNC).
    virtual void SendMessage(uint32_t message, uint32_t code) = 0;
    // L, W: queued for the window's thread (MSG_BANK_CHANGED on L, MSG_OPEN on W).
    virtual void PostMessage(uint32_t message, uint32_t code) = 0;
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
    // W: waits at most `timeoutMs` for the initialisation to complete and
    // says whether it did; nothing when this link cannot wait, and the
    // caller asks InitComplete() from time to time instead. A link that can
    // wait also stops waiting when its window closes.
    virtual std::optional<bool> WaitForInitComplete(uint32_t /*timeoutMs*/) { return std::nullopt; }
    // W: a plain message box showing the language text under `textKey`,
    // queued; the worker does not wait for the user to close it.
    virtual void ShowMessage(std::string_view textKey) = 0;
};

}  // namespace trevolin::device
