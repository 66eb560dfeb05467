#include "core/device/DeviceSession.h"

#include "core/device/FactoryKeymap.h"
#include "core/device/UnitId.h"

namespace trevolin::device {

namespace {

// The library calls back through a plain function; it reaches the one
// session of the process through here.
std::atomic<DeviceSession*> g_session{nullptr};

}  // namespace

DeviceSession::DeviceSession(const HidLibrary& library, device::MainWindowLink& mainWindow,
                             platform::TaskRunner& workers, platform::Clock& clock)
    : library_(library),
      mainWindow_(mainWindow),
      workers_(workers),
      clock_(clock),
      exchange_(library_, clock),
      commands_(exchange_),
      factoryKeymap_(BuiltInFactoryKeymap())
{
}

DeviceSession::~DeviceSession()
{
    Stop();
}

void DeviceSession::Stop()
{
    if (!started_ || stopping_.exchange(true))
        return;
    // A worker waiting for a reply gives up now instead of after three
    // seconds an exchange.
    exchange_.Cancel();
    // Once deleted, the library calls nothing of ours again, so no new
    // worker can start after the join below.
    library_.DeleteRequestFromUnitId(consumerHandle_);
    library_.DeleteRequestFromUnitId(vendorHandle_);
    library_.DeleteRequestFromUnitId(statusHandle_);
    DeviceSession* self = this;
    g_session.compare_exchange_strong(self, nullptr);
    workers_.JoinAll();
}

bool DeviceSession::Start(bool startedHidden)
{
    if (library_.Init(0) <= 0)
        return false;
    g_session.store(this);
    started_ = true;
    firstArrivalDone_.store(startedHidden);
    {
        std::lock_guard lock(stateMutex_);
        keyBankStatus_ = {0x05, 0x02};
    }
    statusHandle_ = 0;

    library_.DeleteRequestFromUnitId(consumerHandle_);
    library_.RequestAsyncRead(&ConsumerAbi, &OnHidNotify, TagCons, ChecksumOfCall(ConsumerUnit, &OnHidNotify, TagCons),
                              &consumerHandle_);
    library_.DeleteRequestFromUnitId(vendorHandle_);
    library_.RequestAsyncRead(&VendorAbi, &OnHidNotify, TagCtrl, ChecksumOfCall(VendorUnit, &OnHidNotify, TagCtrl),
                              &vendorHandle_);

    const int count =
        library_.RequestGetDeviceCount(&VendorAbi, nullptr, 0, ChecksumOfCall(VendorUnit, nullptr, 0), nullptr);
    const uint32_t n = count > 0 ? static_cast<uint32_t>(count) : 0;
    reportedCount_.store(n);
    workers_.Run([this] { PresenceWorker(); });
    if (n == 0)
        firstArrivalDone_.store(true);
    return true;
}

uint32_t DeviceSession::OnHidNotify(const QlNotification* record)
{
    if (DeviceSession* session = g_session.load())
        session->HandleNotification(record);
    return 1;
}

uint32_t DeviceSession::HandleNotification(const QlNotification* record)
{
    if (!record || !record->request)
        return 1;
    const QlRequestInfo& request = *record->request;
    if (record->kind == 1 && request.tag == TagCons) {
        OnConsumerCode(request.consumerCode);
    } else if (record->kind == 1 && request.tag == TagCtrl) {
        exchange_.OnReply(request.data, request.data ? request.count : 0);
    } else if (record->kind == 0 && request.tag == TagCtrl && !stopping_.load()) {
        const uint32_t n = request.count;
        reportedCount_.store(n);
        workers_.Run([this] { PresenceWorker(); });
    }
    return 1;
}

void DeviceSession::OnConsumerCode(uint16_t code)
{
    switch (code) {
    case ConsumerBankSwitch: {
        bool bankB = false;
        {
            std::lock_guard lock(stateMutex_);
            keyBankStatus_[1] ^= 1;
            bankB = (keyBankStatus_[1] & 1) != 0;
        }
        SendKeyBankStatus();
        // On the library's thread: posted, never sent (see MainWindowLink).
        mainWindow_.KeyBankChanged();
        mainWindow_.ShowKeyBank(bankB);
        break;
    }
    case ConsumerLightingChanged:
        mainWindow_.StartTimer(device::TIMER_LIGHTING_REFRESH, 0);
        break;
    case ConsumerFactoryReset:
        mainWindow_.StartTimer(device::TIMER_KEYBOARD_RESET, 0);
        break;
    case ConsumerActivityEnded:
    case ConsumerActivityStarted: {
        const bool started = code == ConsumerActivityStarted;
        workers_.Run([this, started] { ShowActivity(started); });
        break;
    }
    default:
        // 0x1801-0x1804 are reserved signals; everything else is not ours.
        break;
    }
}

void DeviceSession::ShowActivity(bool started)
{
    std::lock_guard lock(trayMutex_);
    if (started)
        mainWindow_.ShowTemporaryTrayPicture(device::ICON_ACTIVITY);
    else
        mainWindow_.RestoreTrayPicture();
    clock_.SleepMs(1);
}

void DeviceSession::SendKeyBankStatus()
{
    std::array<uint8_t, 2> status = KeyBankStatus();
    library_.DeleteRequestFromUnitId(statusHandle_);
    library_.RequestStatusWrite(&StatusAbi, &OnHidNotify, TagDel, status.data(), 2,
                                ChecksumOfCall(StatusUnit, &OnHidNotify, TagDel, status.data(), 2), &statusHandle_);
}

void DeviceSession::PresenceWorker()
{
    std::lock_guard serial(presenceMutex_);
    // A later notification may have overtaken this one while it waited:
    // the count the library reported last is the one that holds.
    const uint32_t count = reportedCount_.load();
    if (count == deviceCount_.load() || stopping_.load())
        return;
    if (count == 0) {
        activeProfileCache_.store(-1);
        mainWindow_.KeyboardGone();
        mainWindow_.HideWindow();
    } else {
        mainWindow_.KeyboardArriving();
        bool keymapRead = false;
        const auto reads = [this, &keymapRead] {
            std::array<uint8_t, 512> keymap{};
            if (commands_.ReadDefaultKeymap(keymap.data()) == ResultOk) {
                keymapRead = true;
                std::lock_guard lock(stateMutex_);
                factoryKeymap_ = keymap;
                factoryKeymapRead_ = true;
            }
            InfoBlock info;
            if (commands_.ReadInfo(info.bytes.data()) == ResultOk) {
                macroCapacity_.store(info.MacroCapacity());
                std::lock_guard lock(stateMutex_);
                arrivalInfo_ = info;
            }
        };
        if (sequenceRunner_)
            sequenceRunner_(reads);
        else
            reads();
        if (!keymapRead)
            mainWindow_.ShowMessage("MAIN_DEFAULT_MATRIX_PROMPT");
        mainWindow_.ProfileSync();
    }
    // The window may never finish (it failed, or the program is ending):
    // the arrival then goes on without it. A window that can be waited for
    // wakes this worker itself; otherwise it is asked now and then.
    if (!mainWindow_.InitComplete() &&
        mainWindow_.WaitForInitComplete(InitWaitLimitMs) == MainWindowLink::InitWait::CannotWait) {
        constexpr uint32_t PollMs = 50;
        for (uint32_t waited = 0; !mainWindow_.InitComplete() && waited < InitWaitLimitMs && !stopping_.load();
             waited += PollMs)
            clock_.SleepMs(PollMs);
    }
    mainWindow_.SetNormalTrayPicture(count != 0 ? device::ICON_PRESENT : device::ICON_ABSENT);
    deviceCount_.store(count);
    if (!firstArrivalDone_.load()) {
        if (count != 0)
            mainWindow_.OpenWindow();
        firstArrivalDone_.store(true);
    }
}

std::array<uint8_t, 512> DeviceSession::FactoryKeymap() const
{
    std::lock_guard lock(stateMutex_);
    return factoryKeymap_;
}

bool DeviceSession::FactoryKeymapRead() const
{
    std::lock_guard lock(stateMutex_);
    return factoryKeymapRead_;
}

bool DeviceSession::ReadFactoryKeymapAgain()
{
    std::array<uint8_t, 512> keymap{};
    if (commands_.ReadDefaultKeymap(keymap.data()) != ResultOk)
        return FactoryKeymapRead();
    std::lock_guard lock(stateMutex_);
    factoryKeymap_ = keymap;
    factoryKeymapRead_ = true;
    return true;
}

std::optional<InfoBlock> DeviceSession::ArrivalInfo() const
{
    std::lock_guard lock(stateMutex_);
    return arrivalInfo_;
}

std::array<uint8_t, 2> DeviceSession::KeyBankStatus() const
{
    std::lock_guard lock(stateMutex_);
    return keyBankStatus_;
}

}  // namespace trevolin::device
