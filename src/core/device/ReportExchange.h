#pragma once

#include "core/device/DeviceReport.h"
#include "core/device/HidLibrary.h"
#include "core/device/ReplySlot.h"
#include "core/platform/Clock.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace trevolin::device {

// Results every device operation shares.
inline constexpr int ResultOk = 1;
inline constexpr int ResultNoDevice = 0;
inline constexpr int ResultWriteRefused = -1;
inline constexpr int ResultNoReply = -2;
inline constexpr int ResultRefused = -102;  // status 0xFF
inline constexpr int ResultBusy = -103;     // status 0xFE
inline constexpr int ResultBadBlock = -201;
// The program's own results, which neither the library nor the keyboard
// gives: a request turned down before anything was sent (a value outside
// its range, no valid current profile, ...), and a read-back that could not
// read the information block.
inline constexpr int ResultRejected = -301;
inline constexpr int ResultReadBackFailed = -302;

// Sends reports on the vendor collection and waits for their echoes.
// One exchange is in flight at a time: a second caller waits for the first
// to finish rather than taking its reply slot over.
class ReportExchange {
public:
    static constexpr uint32_t ReplyTimeoutMs = 1000;
    static constexpr uint32_t RetryPauseMs = 10;
    static constexpr int Attempts = 3;

    ReportExchange(const HidLibrary& library, platform::Clock& clock);

    // 1 a reply echoing the command came (its status may still be a
    // refusal after the last attempt), 0 no keyboard or the wait failed,
    // -1 the library refused the write, -2 no matching reply in three sends.
    [[nodiscard]] int ExchangeReport(const uint8_t* request, size_t requestLength, uint8_t* reply,
                                     uint32_t replyCapacity, uint32_t* outReplyLength);
    // Fire and forget: the library's result, unchanged.
    [[nodiscard]] int PostReport(const uint8_t* report, size_t length);

    // Sends `request` and maps the reply's status: 1, -102, -103, or the
    // exchange's own failure. The reply lands in `reply`.
    [[nodiscard]] int Command(const DeviceReport& request, DeviceReport& reply);

    // A long transfer cut into 56-byte pieces at device offset `base`.
    [[nodiscard]] int ReadChunked(uint8_t command, uint16_t base, uint8_t* out, size_t total);
    [[nodiscard]] int WriteChunked(uint8_t command, uint16_t base, const uint8_t* in, size_t total);

    // The notification thread hands vendor-channel data here.
    void OnReply(const uint8_t* data, uint32_t count);

    // The session is stopping: the exchange waiting now ends with 0, and
    // every later one returns 0 without sending.
    void Cancel();
    bool Awaiting() const { return slot_.Awaiting(); }

    platform::Clock& Clock() { return clock_; }

private:
    int DeviceCount();

    const HidLibrary& library_;
    platform::Clock& clock_;
    ReplySlot slot_;
    std::mutex exchangeMutex_;
    std::atomic<bool> cancelled_{false};
};

int MapStatus(int exchangeResult, const DeviceReport& reply);

}  // namespace trevolin::device
