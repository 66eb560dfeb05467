#include "core/device/ReportExchange.h"

#include "core/device/UnitId.h"

#include <algorithm>
#include <cstring>

namespace trevolin::device {

ReportExchange::ReportExchange(const HidLibrary& library, platform::Clock& clock) : library_(library), clock_(clock)
{
}

int ReportExchange::DeviceCount()
{
    static const uint32_t checksum = ChecksumOfCall(VendorUnit, nullptr, 0);
    const int count = library_.RequestGetDeviceCount(&VendorAbi, nullptr, 0, checksum, nullptr);
    return count > 0 ? count : 0;
}

int ReportExchange::ExchangeReport(const uint8_t* request, size_t requestLength, uint8_t* reply, uint32_t replyCapacity,
                                   uint32_t* outReplyLength)
{
    if (outReplyLength)
        *outReplyLength = 0;
    std::lock_guard exclusive(exchangeMutex_);

    if (cancelled_.load() || DeviceCount() == 0)
        return ResultNoDevice;

    const DeviceReport report = DeviceReport::FromBytes(request, requestLength);
    const uint32_t checksum = ChecksumOfCall(VendorUnit, nullptr, 0, report.Bytes(), DeviceReport::Size);
    std::array<uint8_t, ReplySlot::Capacity> received{};

    struct DisarmOnExit {
        ReplySlot& slot;
        ~DisarmOnExit() { slot.Disarm(); }
    } disarm{slot_};

    for (int attempt = 0;;) {
        slot_.Arm(replyCapacity, {report.Command(), report.Offset()});
        const int written =
            library_.RequestWriteOne(&VendorAbi, nullptr, 0, report.Bytes(), DeviceReport::Size, checksum, nullptr);
        if (written <= 0)
            return ResultWriteRefused;

        uint32_t length = 0;
        const auto waited = slot_.Wait(clock_, ReplyTimeoutMs, received.data(), length);
        if (waited == platform::WaitResult::Failed)
            return ResultNoDevice;

        // The slot only takes a reply that answers this report.
        const bool matches = waited == platform::WaitResult::Signalled;
        const bool refused = matches && length > 7 && (received[7] == StatusRefused || received[7] == StatusBusy);
        if (matches && !refused) {
            if (reply)
                std::memcpy(reply, received.data(), length);
            if (outReplyLength)
                *outReplyLength = length;
            return ResultOk;
        }
        if (++attempt == Attempts) {
            if (!refused)
                return ResultNoReply;
            // The keyboard refused three times: the caller's status mapping
            // turns the reply into -102 or -103.
            if (reply)
                std::memcpy(reply, received.data(), length);
            if (outReplyLength)
                *outReplyLength = length;
            return ResultOk;
        }
        slot_.Disarm();
        clock_.SleepMs(RetryPauseMs);
    }
}

int ReportExchange::PostReport(const uint8_t* report, size_t length)
{
    const DeviceReport padded = DeviceReport::FromBytes(report, length);
    const uint32_t checksum = ChecksumOfCall(VendorUnit, nullptr, 0, padded.Bytes(), DeviceReport::Size);
    return library_.RequestWriteOne(&VendorAbi, nullptr, 0, padded.Bytes(), DeviceReport::Size, checksum, nullptr);
}

void ReportExchange::Cancel()
{
    cancelled_.store(true);
    slot_.Cancel();
}

void ReportExchange::OnReply(const uint8_t* data, uint32_t count)
{
    slot_.Deliver(data, count);
}

int MapStatus(int exchangeResult, const DeviceReport& reply)
{
    if (exchangeResult != ResultOk)
        return exchangeResult;
    if (reply.Status() == StatusRefused)
        return ResultRefused;
    if (reply.Status() == StatusBusy)
        return ResultBusy;
    return ResultOk;
}

int ReportExchange::Command(const DeviceReport& request, DeviceReport& reply)
{
    reply = DeviceReport::FromBytes(nullptr, 0);
    uint32_t length = 0;
    const int result = ExchangeReport(request.Bytes(), DeviceReport::Size, reply.Bytes(), DeviceReport::Size, &length);
    return MapStatus(result, reply);
}

int ReportExchange::ReadChunked(uint8_t command, uint16_t base, uint8_t* out, size_t total)
{
    DeviceReport request(command, 0, 0);
    DeviceReport reply;
    for (size_t k = 0; k < total; k += DeviceReport::DataSize) {
        const size_t piece = std::min(DeviceReport::DataSize, total - k);
        request.SetLength(static_cast<uint8_t>(piece));
        request.SetOffset(static_cast<uint16_t>(base + k));
        request.SetChecksum();
        const int result = Command(request, reply);
        if (result != ResultOk)
            return result;
        std::memcpy(out + k, reply.Data(), piece);
    }
    return ResultOk;
}

int ReportExchange::WriteChunked(uint8_t command, uint16_t base, const uint8_t* in, size_t total)
{
    // One buffer for the whole transfer: bytes past a short last piece still
    // hold the previous piece's data, as the keyboard has always seen them.
    DeviceReport request(command, 0, 0);
    DeviceReport reply;
    for (size_t k = 0; k < total; k += DeviceReport::DataSize) {
        const size_t piece = std::min(DeviceReport::DataSize, total - k);
        request.SetLength(static_cast<uint8_t>(piece));
        request.SetOffset(static_cast<uint16_t>(base + k));
        std::memcpy(request.Data(), in + k, piece);
        request.SetChecksum();
        const int result = Command(request, reply);
        if (result != ResultOk)
            return result;
    }
    return ResultOk;
}

}  // namespace trevolin::device
