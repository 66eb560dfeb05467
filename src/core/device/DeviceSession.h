#pragma once

#include "core/device/HidLibrary.h"
#include "core/device/InfoBlock.h"
#include "core/device/KeyboardCommands.h"
#include "core/device/ReportExchange.h"
#include "core/platform/Clock.h"
#include "core/platform/MainWindowLink.h"
#include "core/platform/TaskRunner.h"

#include <array>
#include <atomic>
#include <mutex>
#include <optional>

namespace trevolin::device {

// Consumer codes the keyboard sends on its own.
inline constexpr uint16_t ConsumerBankSwitch = 0x02FF;
inline constexpr uint16_t ConsumerLightingChanged = 0x0401;
inline constexpr uint16_t ConsumerFactoryReset = 0x0402;
inline constexpr uint16_t ConsumerActivityEnded = 0x1810;
inline constexpr uint16_t ConsumerActivityStarted = 0x1811;

// The link to the keyboard for the life of the process: registers the
// library's notification channels, follows the keyboard arriving and
// leaving, keeps what the program must know of it (factory key map, macro
// capacity, key bank) and turns the keyboard's own notifications into
// actions of the main window.
class DeviceSession {
public:
    DeviceSession(const HidLibrary& library, platform::MainWindowLink& mainWindow, platform::TaskRunner& workers,
                  platform::Clock& clock);
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Init(0), both channels registered, first presence check started.
    // `startedHidden` (the tray start) means arrivals never open the window.
    // Returns false when the library failed to start.
    bool Start(bool startedHidden);

    // The callback registered with the library for every request.
    static uint32_t OnHidNotify(const QlNotification* record);
    uint32_t HandleNotification(const QlNotification* record);

    void PresenceWorker(uint32_t count);

    KeyboardCommands& Commands() { return commands_; }
    ReportExchange& Exchange() { return exchange_; }

    uint32_t DeviceCount() const { return deviceCount_.load(); }
    bool FirstArrivalDone() const { return firstArrivalDone_.load(); }
    uint32_t MacroCapacity() const { return macroCapacity_.load(); }
    int ActiveProfileCache() const { return activeProfileCache_.load(); }
    void SetActiveProfileCache(int profile) { activeProfileCache_.store(profile); }
    std::array<uint8_t, 512> FactoryKeymap() const;
    // The information block of the last arrival whose read succeeded.
    std::optional<InfoBlock> ArrivalInfo() const;
    std::array<uint8_t, 2> KeyBankStatus() const;
    bool BankB() const { return (KeyBankStatus()[1] & 1) != 0; }

private:
    void OnConsumerCode(uint16_t code);
    void SendKeyBankStatus();
    void ShowActivity(bool started);

    HidLibrary library_;
    platform::MainWindowLink& mainWindow_;
    platform::TaskRunner& workers_;
    platform::Clock& clock_;
    ReportExchange exchange_;
    KeyboardCommands commands_;

    uint32_t consumerHandle_ = 0;
    uint32_t vendorHandle_ = 0;
    uint32_t statusHandle_ = 0;
    bool started_ = false;

    mutable std::mutex stateMutex_;
    std::array<uint8_t, 2> keyBankStatus_{0x05, 0x02};
    std::array<uint8_t, 512> factoryKeymap_{};
    std::optional<InfoBlock> arrivalInfo_;

    std::atomic<uint32_t> deviceCount_{0};
    std::atomic<bool> firstArrivalDone_{false};
    std::atomic<uint32_t> macroCapacity_{0};
    std::atomic<int> activeProfileCache_{-1};
    std::mutex trayMutex_;  // one tray activity change at a time
};

}  // namespace trevolin::device
