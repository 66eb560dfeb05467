#include "HidHarness.h"

#include "FakeHidBackend.h"

namespace ql::hid::test {

namespace {

const std::vector<uint8_t> kConfigDescriptor = {
    0x05, 0x0C,        // Usage Page (Consumer)
    0x09, 0x01,        // Usage (Consumer Control)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x02,        //   Report ID (2)
    0x75, 0x10,        //   Report Size (16)
    0x95, 0x01,        //   Report Count (1)
    0x81, 0x00,        //   Input
    0xC0,              // End Collection
    0x06, 0x1C, 0xFF,  // Usage Page (0xFF1C)
    0x09, 0x92,        // Usage (0x92)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x04,        //   Report ID (4)
    0x09, 0x93,        //   Usage (0x93)
    0xA1, 0x02,        //   Collection (Logical)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x3F,        //     Report Count (63)
    0x81, 0x02,        //     Input
    0x09, 0x94,        //     Usage (0x94)
    0x91, 0x02,        //     Output
    0xC0,              //   End Collection
    0xC0,              // End Collection
    0x05, 0x08,        // Usage Page (LEDs)
    0x09, 0x89,        // Usage (0x89)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x05,        //   Report ID (5)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x01,        //   Report Count (1)
    0x91, 0x02,        //   Output
    0xC0,              // End Collection
};

const std::vector<uint8_t> kBootDescriptor = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x06,  // Usage (Keyboard)
    0xA1, 0x01,  // Collection (Application)
    0x75, 0x08,  //   Report Size (8)
    0x95, 0x08,  //   Report Count (8)
    0x81, 0x02,  //   Input
    0xC0,        // End Collection
};

TransportOptions testOptions()
{
    TransportOptions options;
    options.pollInterval = std::chrono::hours(1);  // passes run when a test asks
    options.readTimeoutMs = 5;                     // End need not wait long for the readers
    return options;
}

}  // namespace

FakeDevice configNode(const std::string& path)
{
    FakeDevice device;
    device.path = path;
    device.listed = {{0x000C, 0x0001}, {0xFF1C, 0x0092}, {0xFF1C, 0x0093}, {0x0008, 0x0089}};
    device.descriptor = kConfigDescriptor;
    return device;
}

FakeDevice bootNode(const std::string& path)
{
    FakeDevice device;
    device.path = path;
    device.listed = {{0x0001, 0x0006}};
    device.descriptor = kBootDescriptor;
    return device;
}

HidHarness::HidHarness()
    : api([d = devices]() -> std::unique_ptr<HidBackend> { return std::make_unique<FakeHidBackend>(d); },
          testOptions())
{
    CallbackRecorder::instance().reset();
    api.init(0);
}

HidHarness::~HidHarness()
{
    api.end();
    CallbackRecorder::instance().reset();
}

uint32_t HidHarness::sum(const QlUnitId& unit, QlCallback cb, uint32_t tag, const std::vector<uint8_t>& data)
{
    return ql::callSum(&unit, cb, tag, data.empty() ? nullptr : data.data(), data.size());
}

std::vector<uint8_t> HidHarness::vendorReport(uint8_t first)
{
    std::vector<uint8_t> report(64);
    report[0] = 4;
    for (size_t i = 1; i < report.size(); ++i)
        report[i] = static_cast<uint8_t>(first + i);
    return report;
}

void HidHarness::poll()
{
    api.transport()->pollNow();
}

int32_t HidHarness::count(const QlUnitId& unit)
{
    return api.getDeviceCount(&unit, nullptr, 0, sum(unit, nullptr, 0));
}

int32_t HidHarness::read(const QlUnitId& unit, uint32_t tag, uint32_t& handle)
{
    return api.asyncRead(&unit, recorder(), tag, sum(unit, recorder(), tag), &handle);
}

int32_t HidHarness::writeOne(const QlUnitId& unit, const std::vector<uint8_t>& report)
{
    return api.writeOne(&unit, nullptr, 0, report.data(), static_cast<uint32_t>(report.size()),
                        sum(unit, nullptr, 0, report));
}

int32_t HidHarness::write(const QlUnitId& unit, const std::vector<uint8_t>& report)
{
    return api.write(&unit, nullptr, 0, report.data(), static_cast<uint32_t>(report.size()),
                     sum(unit, nullptr, 0, report));
}

int32_t HidHarness::statusWrite(const std::vector<uint8_t>& status, uint32_t& handle)
{
    return api.statusWrite(&kStatusUnit, recorder(), QL_TAG_DEL, status.data(), static_cast<uint32_t>(status.size()),
                           sum(kStatusUnit, recorder(), QL_TAG_DEL, status), &handle);
}

}  // namespace ql::hid::test
