#pragma once

#include "CallbackRecorder.h"
#include "FakeDeviceSet.h"
#include "transport/QlChecksum.h"
#include "transport/hid/QuellinkApi.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <initializer_list>
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

// The keyboard's collections as its report descriptor declares them, with
// the keyboard's report ids.
enum class Piece {
    Consumer,       // consumer control: input report 3, a 16-bit code
    Vendor,         // input and output report 4, 64 bytes with the id, in a
                    // nested logical collection with a usage of its own
    StatusOutput,   // key-bank indicator: output report 5, 2 bytes with the id
    StatusFeature,  // the same declared as a feature report only
};
std::vector<uint8_t> descriptorOf(std::initializer_list<Piece> pieces);

// A node of the keyboard plugged in at `device` (the USB device in sysfs).
FakeDevice keyboardNode(const std::string& path, std::initializer_list<Piece> pieces,
                        const std::string& device = FakeDevice{}.device);
// The keyboard's configuration node: consumer control, vendor and status.
FakeDevice configNode(const std::string& path, const std::string& device = FakeDevice{}.device);
// The keyboard's boot-protocol node: one collection, unnumbered 8-byte reports.
FakeDevice bootNode(const std::string& path, const std::string& device = FakeDevice{}.device);

// A QuellinkApi initialised over a scripted device set and a clock the test
// moves, with the callback recorder cleared.
class HidHarness {
public:
    HidHarness();
    ~HidHarness();

    std::shared_ptr<FakeDeviceSet> devices = std::make_shared<FakeDeviceSet>();
    std::shared_ptr<std::atomic<int64_t>> clockMs = std::make_shared<std::atomic<int64_t>>(1'000'000);
    QuellinkApi api;

    static uint32_t sum(const QlUnitId& unit, QlCallback cb, uint32_t tag, const std::vector<uint8_t>& data = {});
    static QlCallback recorder() { return &CallbackRecorder::callback; }
    static std::vector<uint8_t> vendorReport(uint8_t first);

    // Enumerates, with what follows (opens, count notices, status sends):
    // done when this returns.
    void poll();
    void advanceClock(std::chrono::milliseconds by) { *clockMs += by.count(); }
    int32_t count(const QlUnitId& unit);
    int32_t read(const QlUnitId& unit, uint32_t tag, uint32_t& handle);
    int32_t writeOne(const QlUnitId& unit, const std::vector<uint8_t>& report);
    int32_t write(const QlUnitId& unit, const std::vector<uint8_t>& report);
    int32_t statusWrite(const std::vector<uint8_t>& status, uint32_t& handle);
};

}  // namespace ql::hid::test
