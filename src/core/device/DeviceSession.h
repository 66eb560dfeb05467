#pragma once

#include "core/device/HidLibrary.h"
#include "core/device/InfoBlock.h"
#include "core/device/KeyboardCommands.h"
#include "core/device/ReportExchange.h"
#include "core/platform/Clock.h"
#include "core/device/MainWindowLink.h"
#include "core/platform/TaskRunner.h"

#include <array>
#include <atomic>
#include <functional>
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
    DeviceSession(const HidLibrary& library, device::MainWindowLink& mainWindow, platform::TaskRunner& workers,
                  platform::Clock& clock);
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // How long an arrival waits for the main window to finish its
    // initialisation before it goes on without.
    static constexpr uint32_t InitWaitLimitMs = 10000;

    // Init(0), both channels registered, first presence check started.
    // `startedHidden` (the tray start) means arrivals never open the window.
    // Returns false when the library failed to start.
    [[nodiscard]] bool Start(bool startedHidden);

    // The callback registered with the library for every request.
    static uint32_t OnHidNotify(const QlNotification* record);
    uint32_t HandleNotification(const QlNotification* record);

    // Cancels the library's requests and the exchange in flight, then waits
    // for every worker. After it returns nothing of the session runs on any
    // thread, and it may be destroyed. The destructor calls it.
    void Stop();

    // Where the arrival's own reads (the default key map, the info block)
    // run: the program's keyboard thread, which waits for nothing else and
    // holds the user's keyboard lock, so that they never mix with another
    // sequence. Unset: on the presence worker. Set before Start().
    using SequenceRunner = std::function<void(const std::function<void()>& reads)>;
    void SetSequenceRunner(SequenceRunner runner) { sequenceRunner_ = std::move(runner); }

    KeyboardCommands& Commands() { return commands_; }
    ReportExchange& Exchange() { return exchange_; }

    uint32_t DeviceCount() const { return deviceCount_.load(); }
    bool FirstArrivalDone() const { return firstArrivalDone_.load(); }
    uint32_t MacroCapacity() const { return macroCapacity_.load(); }
    int ActiveProfileCache() const { return activeProfileCache_.load(); }
    void SetActiveProfileCache(int profile) { activeProfileCache_.store(profile); }
    std::array<uint8_t, 512> FactoryKeymap() const;
    // True once the keyboard's own default key map has been read; until
    // then FactoryKeymap() is the built-in one, which knows only part of
    // the keyboard's keys and must not be written back.
    bool FactoryKeymapRead() const;
    // Reads the default key map again (on the keyboard's thread); true when
    // the keyboard's own map is now held.
    bool ReadFactoryKeymapAgain();
    // The information block of the last arrival whose read succeeded.
    std::optional<InfoBlock> ArrivalInfo() const;
    std::array<uint8_t, 2> KeyBankStatus() const;
    bool BankB() const { return (KeyBankStatus()[1] & 1) != 0; }

private:
    // Handles the device count the library reported last. Workers run one
    // at a time: when an unplug and a replug overlap, the last count wins.
    void PresenceWorker();
    void OnConsumerCode(uint16_t code);
    void SendKeyBankStatus();
    void ShowActivity(bool started);

    HidLibrary library_;
    device::MainWindowLink& mainWindow_;
    platform::TaskRunner& workers_;
    platform::Clock& clock_;
    ReportExchange exchange_;
    KeyboardCommands commands_;

    uint32_t consumerHandle_ = 0;
    uint32_t vendorHandle_ = 0;
    uint32_t statusHandle_ = 0;
    bool started_ = false;
    std::atomic<bool> stopping_{false};
    std::mutex presenceMutex_;  // one presence worker at a time
    SequenceRunner sequenceRunner_;
    std::atomic<uint32_t> reportedCount_{0};

    mutable std::mutex stateMutex_;
    std::array<uint8_t, 2> keyBankStatus_{0x05, 0x02};
    std::array<uint8_t, 512> factoryKeymap_{};
    bool factoryKeymapRead_ = false;
    std::optional<InfoBlock> arrivalInfo_;

    std::atomic<uint32_t> deviceCount_{0};
    std::atomic<bool> firstArrivalDone_{false};
    std::atomic<uint32_t> macroCapacity_{0};
    std::atomic<int> activeProfileCache_{-1};
    std::mutex trayMutex_;  // one tray activity change at a time
};

}  // namespace trevolin::device
