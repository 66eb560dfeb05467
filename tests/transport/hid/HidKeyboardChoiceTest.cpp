#include "HidHarness.h"

#include <gtest/gtest.h>

namespace ql::hid::test {
namespace {

// Two keyboards with split nodes whose paths interleave: by path string
// ("/dev/hidraw10" before "/dev/hidraw9") a choice per collection would
// send the vendor traffic to one keyboard and the bank status to the other.
TEST(HidKeyboardChoice, OneKeyboardCarriesEveryCollectionAndItsLossIsACountChange)
{
    const std::string first = "/sys/devices/usb1/1-1";
    const std::string second = "/sys/devices/usb1/1-2";
    const auto plugFirst = [&](HidHarness& h) {
        h.devices->plug(keyboardNode("/dev/hidraw9", {Piece::Consumer, Piece::StatusOutput}, first));
        h.devices->plug(keyboardNode("/dev/hidraw11", {Piece::Vendor}, first));
    };
    const auto plugSecond = [&](HidHarness& h) {
        h.devices->plug(keyboardNode("/dev/hidraw10", {Piece::Consumer, Piece::StatusOutput}, second));
        h.devices->plug(keyboardNode("/dev/hidraw12", {Piece::Vendor}, second));
    };

    HidHarness h;
    plugSecond(h);
    plugFirst(h);
    uint32_t cons = 0, ctrl = 0, status = 0;
    ASSERT_EQ(h.read(kConsumerUnit, QL_TAG_CONS, cons), 1);
    ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, ctrl), 1);
    ASSERT_EQ(h.statusWrite({0x05, 0x02}, status), 1);
    for (const QlUnitId& unit : {kConsumerUnit, kVendorUnit, kStatusUnit})
        EXPECT_EQ(h.count(unit), 1) << "the keyboard in use, not every keyboard";
    const auto report = HidHarness::vendorReport(1);
    ASSERT_EQ(h.writeOne(kVendorUnit, report), 1);
    std::vector<SentReport> expected{{"/dev/hidraw9", ReportType::Output, {0x05, 0x02}},
                                     {"/dev/hidraw11", ReportType::Output, report}};
    EXPECT_EQ(h.devices->sent(), expected);
    // Nothing of the other keyboard is open, so none of its reports reach a callback.
    EXPECT_EQ(h.devices->openHandles("/dev/hidraw10"), 0);
    EXPECT_EQ(h.devices->openHandles("/dev/hidraw12"), 0);

    // The other keyboard coming and going is nothing to the program.
    h.devices->unplug("/dev/hidraw10");
    h.devices->unplug("/dev/hidraw12");
    h.poll();
    plugSecond(h);
    h.poll();
    EXPECT_TRUE(CallbackRecorder::instance().notices().empty());

    // The one in use goes: the program hears it gone, then the other arrive,
    // and gets it whole, the kept status included.
    h.devices->unplug("/dev/hidraw9");
    h.devices->unplug("/dev/hidraw11");
    h.poll();
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CTRL), (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CONS), (std::vector<uint32_t>{0, 1}));
    ASSERT_EQ(h.writeOne(kVendorUnit, report), 1);
    expected.push_back({"/dev/hidraw10", ReportType::Output, {0x05, 0x02}});
    expected.push_back({"/dev/hidraw12", ReportType::Output, report});
    EXPECT_EQ(h.devices->sent(), expected);

    // The first one back stays unused while the second is there.
    plugFirst(h);
    h.poll();
    EXPECT_EQ(h.devices->openHandles("/dev/hidraw9"), 0);
    h.devices->unplug("/dev/hidraw10");
    h.devices->unplug("/dev/hidraw12");
    h.poll();
    EXPECT_EQ(CallbackRecorder::instance().countsOf(QL_TAG_CTRL), (std::vector<uint32_t>{0, 1, 0, 1}));
    EXPECT_EQ(h.count(kStatusUnit), 1);
}

}  // namespace
}  // namespace ql::hid::test
