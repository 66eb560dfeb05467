#include "QuellinkApi.h"

#include "../QlChecksum.h"
#include "LibraryThread.h"
#include "Log.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace ql::hid {

namespace {

bool validLength(uint32_t length)
{
    return length >= 1 && length <= QuellinkApi::kReportLength;
}

}  // namespace

QuellinkApi::QuellinkApi(BackendFactory factory, TransportOptions options)
    : factory_(std::move(factory)),
      options_(options)
{
}

QuellinkApi::~QuellinkApi()
{
    end();
}

std::shared_ptr<HidTransport> QuellinkApi::transport() const
{
    std::lock_guard lock(mutex_);
    return transport_;
}

int32_t QuellinkApi::init(int32_t flags)
{
    if (flags != 0)
        return QL_ERR_ARGUMENT;
    std::lock_guard lifecycle(lifecycle_);
    if (transport())
        return 1;
    std::unique_ptr<HidBackend> backend = factory_();
    if (!backend)
        return QL_ERR_IO;
    auto started = std::make_shared<HidTransport>(std::move(backend), options_);
    if (!started->start())
        return QL_ERR_IO;
    std::lock_guard lock(mutex_);
    transport_ = std::move(started);
    return 1;
}

int32_t QuellinkApi::end()
{
    // End waits for our threads, so it cannot run on one of them.
    if (LibraryThread::isCurrent())
        return QL_ERR_ARGUMENT;
    std::lock_guard lifecycle(lifecycle_);
    std::shared_ptr<HidTransport> ending;
    {
        std::lock_guard lock(mutex_);
        ending.swap(transport_);
    }
    if (!ending)
        return QL_ERR_NOT_READY;
    // Calls already inside the transport on other threads keep it alive and
    // find it stopped.
    ending->stop();
    return 1;
}

int32_t QuellinkApi::debug(int32_t level)
{
    // Allowed before Init, so that Init's own trouble can be seen.
    if (level < 0)
        return QL_ERR_ARGUMENT;
    Log::setLevel(level);
    return 1;
}

int32_t QuellinkApi::check(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                           uint32_t checksum, std::optional<UnitMatch>& match) const
{
    if (!unit)
        return QL_ERR_ARGUMENT;
    if (ql::callSum(unit, cb, tag, data, data ? length : 0) != checksum)
        return QL_ERR_CHECKSUM;
    match = UnitMatch::fromUnit(*unit);
    return match ? 0 : QL_ERR_ARGUMENT;
}

int32_t QuellinkApi::getDeviceCount(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum)
{
    auto running = transport();
    if (!running)
        return QL_ERR_NOT_READY;
    std::optional<UnitMatch> match;
    if (const int32_t refused = check(unit, cb, tag, nullptr, 0, checksum, match))
        return refused;
    return static_cast<int32_t>(std::min<uint32_t>(running->deviceCount(*match), INT32_MAX));
}

int32_t QuellinkApi::send(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                          uint32_t checksum, ReportType type, bool wholeReport)
{
    auto running = transport();
    if (!running)
        return QL_ERR_NOT_READY;
    // The length is checked before the checksum reads that many bytes.
    if (!data || !validLength(length) || (wholeReport && length != kReportLength))
        return QL_ERR_ARGUMENT;
    std::optional<UnitMatch> match;
    if (const int32_t refused = check(unit, cb, tag, data, length, checksum, match))
        return refused;
    return running->send(*match, type, data, length);
}

int32_t QuellinkApi::writeOne(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                              uint32_t checksum)
{
    return send(unit, cb, tag, data, length, checksum, ReportType::Output, true);
}

int32_t QuellinkApi::write(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                           uint32_t checksum)
{
    return send(unit, cb, tag, data, length, checksum, ReportType::Output, false);
}

int32_t QuellinkApi::statusSetFeature(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data,
                                      uint32_t length, uint32_t checksum)
{
    return send(unit, cb, tag, data, length, checksum, ReportType::Feature, false);
}

int32_t QuellinkApi::asyncRead(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum, uint32_t* handle)
{
    if (handle)
        *handle = 0;
    auto running = transport();
    if (!running)
        return QL_ERR_NOT_READY;
    std::optional<UnitMatch> match;
    if (const int32_t refused = check(unit, cb, tag, nullptr, 0, checksum, match))
        return refused;
    if (!cb || !handle)
        return QL_ERR_ARGUMENT;
    return running->addRead(*match, cb, tag, *handle);
}

int32_t QuellinkApi::statusWrite(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data,
                                 uint32_t length, uint32_t checksum, uint32_t* handle)
{
    if (handle)
        *handle = 0;
    auto running = transport();
    if (!running)
        return QL_ERR_NOT_READY;
    if (!data || !validLength(length))
        return QL_ERR_ARGUMENT;
    std::optional<UnitMatch> match;
    if (const int32_t refused = check(unit, cb, tag, data, length, checksum, match))
        return refused;
    if (!handle)
        return QL_ERR_ARGUMENT;
    return running->addStatus(*match, cb, tag, data, length, *handle);
}

int32_t QuellinkApi::statusGet(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint8_t* data, uint32_t length,
                               uint32_t checksum)
{
    auto running = transport();
    if (!running)
        return QL_ERR_NOT_READY;
    // The buffer is where the answer goes, so the checksum does not cover it.
    std::optional<UnitMatch> match;
    if (const int32_t refused = check(unit, cb, tag, nullptr, 0, checksum, match))
        return refused;
    if (!data || !validLength(length))
        return QL_ERR_ARGUMENT;
    return running->getFeature(*match, data, length);
}

int32_t QuellinkApi::deleteRequest(uint32_t handle)
{
    auto running = transport();
    if (!running)
        return QL_ERR_NOT_READY;
    return running->remove(handle) ? 1 : 0;
}

int32_t QuellinkApi::describeProblem(char* buffer, uint32_t capacity)
{
    if (!buffer || capacity == 0)
        return QL_ERR_ARGUMENT;
    std::string sentence;
    int32_t code = QL_ERR_NOT_READY;
    if (auto running = transport())
        code = running->describeProblem(sentence);
    else
        sentence = "the HID library is not initialised (Init was not called)";
    const size_t copied = std::min<size_t>(sentence.size(), capacity - 1);
    std::memcpy(buffer, sentence.data(), copied);
    buffer[copied] = '\0';
    return code;
}

}  // namespace ql::hid
