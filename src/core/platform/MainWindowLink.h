#pragma once

#include <cstdint>
#include <string_view>

namespace trevolin::platform {

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
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    // Handled before the call returns (on the window's thread).
    virtual void SendMessage(uint32_t message, uint32_t code) = 0;
    // Queued for the window's thread.
    virtual void PostMessage(uint32_t message, uint32_t code) = 0;
    virtual void StartTimer(uint32_t id, uint32_t periodMs) = 0;
    virtual void SetNormalTrayPicture(int icon) = 0;
    virtual void ShowTemporaryTrayPicture(int icon) = 0;
    virtual void RestoreTrayPicture() = 0;
    // The bank indicator and the G keys' labels: bank B when `bankB`.
    virtual void ShowKeyBank(bool bankB) = 0;
    virtual void HideWindow() = 0;
    virtual bool InitComplete() = 0;
    // A plain message box showing the language text under `textKey`.
    virtual void ShowMessage(std::string_view textKey) = 0;
};

}  // namespace trevolin::platform
