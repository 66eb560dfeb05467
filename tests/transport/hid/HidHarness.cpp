#include "HidHarness.h"

#include "FakeHidBackend.h"

#include <cstdlib>

namespace ql::hid::test {

namespace {

const std::vector<uint8_t> kConsumerPiece = {
    0x05, 0x0C,  // Usage Page (Consumer)
    0x09, 0x01,  // Usage (Consumer Control)
    0xA1, 0x01,  // Collection (Application)
    0x85, 0x03,  //   Report ID (3)
    0x75, 0x10,  //   Report Size (16)
    0x95, 0x01,  //   Report Count (1)
    0x81, 0x00,  //   Input
    0xC0,        // End Collection
};

const std::vector<uint8_t> kVendorPiece = {
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
};

std::vector<uint8_t> statusPiece(uint8_t mainItem)
{
    return {
        0x05,     0x08,  // Usage Page (LEDs)
        0x09,     0x89,  // Usage (0x89)
        0xA1,     0x01,  // Collection (Application)
        0x85,     0x05,  //   Report ID (5)
        0x75,     0x08,  //   Report Size (8)
        0x95,     0x01,  //   Report Count (1)
        mainItem, 0x02,  //   Output (0x91) or Feature (0xB1)
        0xC0,            // End Collection
    };
}

const std::vector<uint8_t> kBootDescriptor = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x06,  // Usage (Keyboard)
    0xA1, 0x01,  // Collection (Application)
    0x75, 0x08,  //   Report Size (8)
    0x95, 0x08,  //   Report Count (8)
    0x81, 0x02,  //   Input
    0xC0,        // End Collection
};

}  // namespace

std::vector<uint8_t> descriptorOf(std::initializer_list<Piece> pieces)
{
    std::vector<uint8_t> bytes;
    for (const Piece piece : pieces) {
        const std::vector<uint8_t> part = piece == Piece::Consumer       ? kConsumerPiece
                                          : piece == Piece::Vendor       ? kVendorPiece
                                          : piece == Piece::StatusOutput ? statusPiece(0x91)
                                                                         : statusPiece(0xB1);
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

FakeDevice keyboardNode(const std::string& path, std::initializer_list<Piece> pieces, const std::string& device)
{
    FakeDevice node;
    node.path = path;
    node.device = device;
    node.descriptor = descriptorOf(pieces);
    return node;
}

FakeDevice configNode(const std::string& path, const std::string& device)
{
    return keyboardNode(path, {Piece::Consumer, Piece::Vendor, Piece::StatusOutput}, device);
}

FakeDevice bootNode(const std::string& path, const std::string& device)
{
    FakeDevice node;
    node.path = path;
    node.device = device;
    node.descriptor = kBootDescriptor;
    return node;
}

HidHarness::HidHarness()
    : api([d = devices]() -> std::unique_ptr<HidBackend> { return std::make_unique<FakeHidBackend>(d); },
          TransportOptions{
              [c = clockMs] { return std::chrono::steady_clock::time_point(std::chrono::milliseconds(c->load())); }})
{
    CallbackRecorder::instance().reset();
    // QL_TEST_DEBUG=3 shows what the library does while a test runs.
    if (const char* level = std::getenv("QL_TEST_DEBUG"))
        api.debug(std::atoi(level));
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
