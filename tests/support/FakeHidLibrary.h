#pragma once

#include "core/device/DeviceReport.h"
#include "core/device/HidLibrary.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace trevolin::test {

// A scripted transport library for tests where exact sequences matter.
// It checks every call's checksum as a real library does, records every
// report written, and answers on the caller's thread, inside the write call,
// so a test runs without threads or waits.
class FakeHidLibrary {
public:
    // How the keyboard answers one report.
    struct Reply {
        // Stale: the late echo of the report written before this one (its
        // command and offset), as a keyboard that answers just after the
        // timeout sends it.
        enum Kind { Normal, Drop, OtherCommand, Stale } kind = Normal;
        uint8_t status = 0;
    };
    struct Registration {
        QlUnitId unit;
        QlCallback callback;
        uint32_t tag;
        uint32_t handle;
    };

    FakeHidLibrary();
    ~FakeHidLibrary();

    // The entry points, bound to this instance (one at a time per process).
    device::HidLibrary Exports() const;

    // Scripting.
    int deviceCount = 1;
    int initResult = 1;
    int writeResult = 1;
    std::deque<Reply> replies;  // consumed one per report; then Normal
    // Fills a normal reply's data for a request; default leaves it zero.
    std::function<void(const device::DeviceReport& request, device::DeviceReport& reply)> answer;
    // Where vendor replies go when no session has registered for them.
    std::function<void(const uint8_t* data, uint32_t count)> replySink;

    // What happened.
    std::vector<device::DeviceReport> written;
    std::vector<std::string> calls;  // "Init", "RequestAsyncRead CONS", ...
    std::vector<std::array<uint8_t, 2>> statusWrites;
    int checksumFailures = 0;

    // Notifications, delivered synchronously on the calling thread.
    void NotifyCount(uint32_t count);
    void SendConsumer(uint16_t code);
    void SendVendorData(const std::vector<uint8_t>& bytes);
    std::vector<Registration> Registrations() const;

    // Entry points (static trampolines forward here).
    int32_t Init(int32_t flags);
    int32_t GetDeviceCount(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum);
    int32_t WriteOne(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                     uint32_t checksum);
    int32_t AsyncRead(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum, uint32_t* handle);
    int32_t StatusWrite(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                        uint32_t checksum, uint32_t* handle);
    int32_t Delete(uint32_t handle);

private:
    bool ChecksumOk(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                    uint32_t checksum);
    void Deliver(uint32_t tag, uint32_t kind, uint32_t count, const uint8_t* data, uint16_t consumerCode);

    mutable std::recursive_mutex mutex_;
    std::vector<Registration> registrations_;
    uint32_t nextHandle_ = 1;
};

}  // namespace trevolin::test
