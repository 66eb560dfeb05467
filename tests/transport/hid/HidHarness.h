#pragma once

#include "CallbackRecorder.h"
#include "FakeDeviceSet.h"
#include "transport/QlChecksum.h"
#include "transport/hid/QuellinkApi.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ql::hid::test {

inline constexpr QlUnitId kVendorUnit{15, 0x0C45, 0x5004, 0xFF1C, 0x0092, 0};
inline constexpr QlUnitId kConsumerUnit{15, 0x0C45, 0x5004, 0x000C, 0x0001, 0};
inline constexpr QlUnitId kStatusUnit{15, 0x0C45, 0x5004, 0x0008, 0x0089, 0};
inline constexpr QlUnitId kBootUnit{15, 0x0C45, 0x5004, 0x0001, 0x0006, 0};
inline constexpr uint32_t kTagBoot = 0x544F4F42;  // 'BOOT'

inline constexpr const char* kConfigPath = "/dev/hidraw1";
inline constexpr const char* kBootPath = "/dev/hidraw0";

// The keyboard's configuration node: consumer control (input report 2), the
// vendor collection (input and output report 4, 64 bytes with the id, and a
// nested logical collection with a usage of its own, which hidapi lists as if
// it were a collection) and the key-bank indicator (output report 5, 2 bytes).
FakeDevice configNode(const std::string& path);
// The keyboard's boot-protocol node: one collection, unnumbered 8-byte reports.
FakeDevice bootNode(const std::string& path);

// A QuellinkApi initialised over a scripted device set, with the poller only
// running when a test asks, and the callback recorder cleared.
class HidHarness {
public:
    HidHarness();
    ~HidHarness();

    std::shared_ptr<FakeDeviceSet> devices = std::make_shared<FakeDeviceSet>();
    QuellinkApi api;

    static uint32_t sum(const QlUnitId& unit, QlCallback cb, uint32_t tag, const std::vector<uint8_t>& data = {});
    static QlCallback recorder() { return &CallbackRecorder::callback; }
    static std::vector<uint8_t> vendorReport(uint8_t first);

    // One poller pass, with its callbacks, done when this returns.
    void poll();
    int32_t count(const QlUnitId& unit);
    int32_t read(const QlUnitId& unit, uint32_t tag, uint32_t& handle);
    int32_t writeOne(const QlUnitId& unit, const std::vector<uint8_t>& report);
    int32_t write(const QlUnitId& unit, const std::vector<uint8_t>& report);
    int32_t statusWrite(const std::vector<uint8_t>& status, uint32_t& handle);
};

}  // namespace ql::hid::test
