#pragma once

#include "../quellink.h"
#include "HidBackend.h"
#include "HidTransport.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace ql::hid {

// The exported calls, minus the C linkage: argument and checksum checks,
// and the life between Init and End. The shipped library holds one, made
// with the hidraw backend; tests make their own with a scripted one.
class QuellinkApi {
public:
    using BackendFactory = std::function<std::unique_ptr<HidBackend>()>;

    // Longest report a caller may hand over or ask for; RequestWriteOne
    // sends exactly this many bytes.
    static constexpr uint32_t kReportLength = 64;

    explicit QuellinkApi(BackendFactory factory, TransportOptions options = {});
    ~QuellinkApi();
    QuellinkApi(const QuellinkApi&) = delete;
    QuellinkApi& operator=(const QuellinkApi&) = delete;

    int32_t init(int32_t flags);
    int32_t end();
    int32_t debug(int32_t level);
    int32_t getDeviceCount(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum);
    int32_t writeOne(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                     uint32_t checksum);
    int32_t write(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                  uint32_t checksum);
    int32_t asyncRead(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum, uint32_t* handle);
    int32_t statusWrite(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                        uint32_t checksum, uint32_t* handle);
    int32_t statusGet(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint8_t* data, uint32_t length,
                      uint32_t checksum);
    int32_t statusSetFeature(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                             uint32_t checksum);
    int32_t deleteRequest(uint32_t handle);
    int32_t describeProblem(char* buffer, uint32_t capacity);

    // The running transport, empty before Init and after End.
    std::shared_ptr<HidTransport> transport() const;

private:
    // Checks a call that names a unit and may carry data (checked only when
    // `data` is given). 0 and the unit's match when the call may go on.
    int32_t check(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                  uint32_t checksum, std::optional<UnitMatch>& match) const;
    int32_t send(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                 uint32_t checksum, ReportType type, bool wholeReport);

    const BackendFactory factory_;
    const TransportOptions options_;
    std::mutex lifecycle_;  // one Init or End at a time
    mutable std::mutex mutex_;
    std::shared_ptr<HidTransport> transport_;
};

}  // namespace ql::hid
