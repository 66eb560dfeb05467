#include "HidHarness.h"

#include <gtest/gtest.h>

namespace ql::hid::test {
namespace {

TEST(HidWrite, ReportsGoOutReportIdFirstPaddedToTheirDeclaredLength)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    h.devices->plug(bootNode(kBootPath));

    const auto report = HidHarness::vendorReport(7);
    EXPECT_EQ(h.writeOne(kVendorUnit, report), 1);

    const std::vector<uint8_t> shortReport{0x04, 0x01, 0x02};
    EXPECT_EQ(h.write(kVendorUnit, shortReport), 1);
    std::vector<uint8_t> padded(64, 0);
    std::copy(shortReport.begin(), shortReport.end(), padded.begin());

    // Report 6 is not declared: it goes out as given.
    const std::vector<uint8_t> feature{0x06, 0x11, 0x22};
    EXPECT_EQ(h.api.statusSetFeature(&kVendorUnit, nullptr, 0, feature.data(), 3,
                                     HidHarness::sum(kVendorUnit, nullptr, 0, feature)),
              1);

    const std::vector<SentReport> expected{
        {kConfigPath, ReportType::Output, report},
        {kConfigPath, ReportType::Output, padded},
        {kConfigPath, ReportType::Feature, feature},
    };
    EXPECT_EQ(h.devices->sent(), expected);
}

TEST(HidWrite, AReportWithNothingAfterItsIdIsRefusedWithoutLookingForTheKeyboard)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    ASSERT_EQ(h.count(kVendorUnit), 1);
    h.poll();  // the one udev asked for when the keyboard arrived
    const int listings = h.devices->enumerations();
    // hidraw refuses a report shorter than two bytes; report 6 is not
    // declared, so there is no length to pad it to.
    EXPECT_EQ(h.write(kVendorUnit, {0x06}), QL_ERR_ARGUMENT);
    uint8_t buffer[1] = {0x06};
    EXPECT_EQ(h.api.statusGet(&kVendorUnit, nullptr, 0, buffer, 1, HidHarness::sum(kVendorUnit, nullptr, 0)),
              QL_ERR_ARGUMENT);
    // A declared one goes out at its declared length.
    EXPECT_EQ(h.write(kVendorUnit, {0x05}), 1);
    EXPECT_EQ(h.devices->sent(), (std::vector<SentReport>{{kConfigPath, ReportType::Output, {0x05, 0x00}}}));
    EXPECT_EQ(h.devices->enumerations(), listings) << "a refused write is no sign of an unplug";
    EXPECT_EQ(h.count(kVendorUnit), 1);
}

TEST(HidWrite, FeatureReportIsReadIntoTheCallersBuffer)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    h.devices->setFeatureReply({0x06, 0xAB, 0xCD});
    uint8_t buffer[8] = {0x06};
    EXPECT_EQ(
        h.api.statusGet(&kVendorUnit, nullptr, 0, buffer, sizeof buffer, HidHarness::sum(kVendorUnit, nullptr, 0)), 3);
    EXPECT_EQ(buffer[1], 0xAB);
    EXPECT_EQ(buffer[2], 0xCD);

    h.devices->setFeatureReply({});
    EXPECT_EQ(
        h.api.statusGet(&kVendorUnit, nullptr, 0, buffer, sizeof buffer, HidHarness::sum(kVendorUnit, nullptr, 0)),
        QL_ERR_IO);
}

TEST(HidWrite, NothingToWriteToWithoutKeyboard)
{
    HidHarness h;
    EXPECT_EQ(h.writeOne(kVendorUnit, HidHarness::vendorReport(0)), QL_ERR_NO_DEVICE);
    EXPECT_EQ(h.write(kVendorUnit, {0x04}), QL_ERR_NO_DEVICE);
    uint8_t buffer[4] = {};
    EXPECT_EQ(h.api.statusGet(&kVendorUnit, nullptr, 0, buffer, 4, HidHarness::sum(kVendorUnit, nullptr, 0)),
              QL_ERR_NO_DEVICE);
}

TEST(HidWrite, KeptStatusFollowsTheKeyboardUntilDeleted)
{
    HidHarness h;
    uint32_t handle = 0;
    // Without a keyboard the request is kept all the same.
    EXPECT_EQ(h.statusWrite({0x05, 0x03}, handle), QL_ERR_NO_DEVICE);
    ASSERT_NE(handle, 0u);

    h.devices->plug(configNode(kConfigPath));
    h.poll();
    const SentReport bankB{kConfigPath, ReportType::Output, {0x05, 0x03}};
    EXPECT_EQ(h.devices->sent(), (std::vector<SentReport>{bankB}));

    // Replaced, as the program does on every bank switch.
    EXPECT_EQ(h.api.deleteRequest(handle), 1);
    EXPECT_EQ(h.statusWrite({0x05, 0x02}, handle), 1);
    const SentReport bankA{kConfigPath, ReportType::Output, {0x05, 0x02}};
    h.poll();
    EXPECT_EQ(h.devices->sent(), (std::vector<SentReport>{bankB, bankA}));

    // Plugged in again, the keyboard gets the status it had.
    h.devices->unplug(kConfigPath);
    h.poll();
    h.devices->plug(configNode("/dev/hidraw8"));
    h.poll();
    const SentReport again{"/dev/hidraw8", ReportType::Output, {0x05, 0x02}};
    EXPECT_EQ(h.devices->sent(), (std::vector<SentReport>{bankB, bankA, again}));

    EXPECT_EQ(h.api.deleteRequest(handle), 1);
    h.devices->unplug("/dev/hidraw8");
    h.poll();
    h.devices->plug(configNode(kConfigPath));
    h.poll();
    EXPECT_EQ(h.devices->sent().size(), 3u) << "a deleted status is not sent again";
    EXPECT_TRUE(CallbackRecorder::instance().notices().empty()) << "status requests are not called back";
}

}  // namespace
}  // namespace ql::hid::test
