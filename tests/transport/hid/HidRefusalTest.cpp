#include "HidHarness.h"

#include <gtest/gtest.h>

#include <functional>

namespace ql::hid::test {
namespace {

using Call = std::function<int32_t(QuellinkApi&)>;

struct Case {
    const char* name;
    Call call;
    int32_t expected;
};

const QlCallback cb = &CallbackRecorder::callback;

std::vector<Case> refusals()
{
    static const std::vector<uint8_t> report = HidHarness::vendorReport(0);
    static const std::vector<uint8_t> status{0x05, 0x03};
    static uint8_t buffer[80];
    static char text[16];
    const uint32_t plainSum = HidHarness::sum(kVendorUnit, nullptr, 0);
    const uint32_t reportSum = HidHarness::sum(kVendorUnit, nullptr, 0, report);
    const uint32_t readSum = HidHarness::sum(kVendorUnit, cb, QL_TAG_CTRL);
    const uint32_t statusSum = HidHarness::sum(kStatusUnit, cb, QL_TAG_DEL, status);
    static uint32_t handle = 0;
    auto withFlags = [](uint32_t flags) {
        QlUnitId unit = kVendorUnit;
        unit.matchFlags = flags;
        return unit;
    };
    static const QlUnitId unknownBit = withFlags(15 | 0x100);
    static const QlUnitId noVendor = withFlags(12);
    std::vector<uint8_t> otherReport = report;
    otherReport[40] ^= 1;
    const uint32_t otherSum = HidHarness::sum(kVendorUnit, nullptr, 0, otherReport);

    return {
        {"count: checksum", [=](QuellinkApi& a) { return a.getDeviceCount(&kVendorUnit, nullptr, 0, plainSum + 1); },
         QL_ERR_CHECKSUM},
        {"count: tag not in the checksum",
         [=](QuellinkApi& a) { return a.getDeviceCount(&kVendorUnit, nullptr, 1, plainSum); }, QL_ERR_CHECKSUM},
        {"count: no unit", [=](QuellinkApi& a) { return a.getDeviceCount(nullptr, nullptr, 0, plainSum); },
         QL_ERR_ARGUMENT},
        {"count: unknown match flag",
         [](QuellinkApi& a) {
             return a.getDeviceCount(&unknownBit, nullptr, 0, HidHarness::sum(unknownBit, nullptr, 0));
         },
         QL_ERR_ARGUMENT},
        {"count: vendor not matched",
         [](QuellinkApi& a) { return a.getDeviceCount(&noVendor, nullptr, 0, HidHarness::sum(noVendor, nullptr, 0)); },
         QL_ERR_ARGUMENT},
        {"write one: data changed after summing",
         [=](QuellinkApi& a) { return a.writeOne(&kVendorUnit, nullptr, 0, report.data(), 64, otherSum); },
         QL_ERR_CHECKSUM},
        {"write one: 63 bytes",
         [=](QuellinkApi& a) {
             return a.writeOne(&kVendorUnit, nullptr, 0, report.data(), 63,
                               HidHarness::sum(kVendorUnit, nullptr, 0, {report.begin(), report.end() - 1}));
         },
         QL_ERR_ARGUMENT},
        {"write one: 65 bytes",
         [=](QuellinkApi& a) { return a.writeOne(&kVendorUnit, nullptr, 0, report.data(), 65, reportSum); },
         QL_ERR_ARGUMENT},
        {"write one: no data",
         [=](QuellinkApi& a) { return a.writeOne(&kVendorUnit, nullptr, 0, nullptr, 64, plainSum); }, QL_ERR_ARGUMENT},
        {"write one: no unit",
         [=](QuellinkApi& a) { return a.writeOne(nullptr, nullptr, 0, report.data(), 64, reportSum); },
         QL_ERR_ARGUMENT},
        {"write: checksum",
         [=](QuellinkApi& a) { return a.write(&kVendorUnit, nullptr, 0, report.data(), 64, reportSum - 1); },
         QL_ERR_CHECKSUM},
        {"write: 0 bytes",
         [=](QuellinkApi& a) { return a.write(&kVendorUnit, nullptr, 0, report.data(), 0, plainSum); },
         QL_ERR_ARGUMENT},
        {"write: longer than a report",
         [=](QuellinkApi& a) { return a.write(&kVendorUnit, nullptr, 0, buffer, 65, plainSum); }, QL_ERR_ARGUMENT},
        {"read: checksum",
         [=](QuellinkApi& a) { return a.asyncRead(&kVendorUnit, cb, QL_TAG_CTRL, readSum ^ 4, &handle); },
         QL_ERR_CHECKSUM},
        {"read: callback not in the checksum",
         [=](QuellinkApi& a) {
             return a.asyncRead(&kVendorUnit, cb, QL_TAG_CTRL, HidHarness::sum(kVendorUnit, nullptr, QL_TAG_CTRL),
                                &handle);
         },
         QL_ERR_CHECKSUM},
        {"read: no callback",
         [](QuellinkApi& a) {
             return a.asyncRead(&kVendorUnit, nullptr, QL_TAG_CTRL, HidHarness::sum(kVendorUnit, nullptr, QL_TAG_CTRL),
                                &handle);
         },
         QL_ERR_ARGUMENT},
        {"read: no handle",
         [=](QuellinkApi& a) { return a.asyncRead(&kVendorUnit, cb, QL_TAG_CTRL, readSum, nullptr); }, QL_ERR_ARGUMENT},
        {"status: checksum",
         [=](QuellinkApi& a) {
             return a.statusWrite(&kStatusUnit, cb, QL_TAG_DEL, status.data(), 2, statusSum + 0x100, &handle);
         },
         QL_ERR_CHECKSUM},
        {"status: no handle",
         [=](QuellinkApi& a) {
             return a.statusWrite(&kStatusUnit, cb, QL_TAG_DEL, status.data(), 2, statusSum, nullptr);
         },
         QL_ERR_ARGUMENT},
        {"status: 0 bytes",
         [=](QuellinkApi& a) {
             return a.statusWrite(&kStatusUnit, cb, QL_TAG_DEL, status.data(), 0,
                                  HidHarness::sum(kStatusUnit, cb, QL_TAG_DEL), &handle);
         },
         QL_ERR_ARGUMENT},
        {"set feature: checksum",
         [=](QuellinkApi& a) { return a.statusSetFeature(&kVendorUnit, nullptr, 0, report.data(), 64, reportSum + 1); },
         QL_ERR_CHECKSUM},
        {"get feature: checksum",
         [=](QuellinkApi& a) { return a.statusGet(&kVendorUnit, nullptr, 0, buffer, 64, plainSum + 1); },
         QL_ERR_CHECKSUM},
        {"get feature: no buffer",
         [=](QuellinkApi& a) { return a.statusGet(&kVendorUnit, nullptr, 0, nullptr, 64, plainSum); }, QL_ERR_ARGUMENT},
        {"get feature: longer than a report",
         [=](QuellinkApi& a) { return a.statusGet(&kVendorUnit, nullptr, 0, buffer, 65, plainSum); }, QL_ERR_ARGUMENT},
        {"problem: no buffer", [](QuellinkApi& a) { return a.describeProblem(nullptr, 16); }, QL_ERR_ARGUMENT},
        {"problem: no room", [](QuellinkApi& a) { return a.describeProblem(text, 0); }, QL_ERR_ARGUMENT},
        {"init: unknown flags", [](QuellinkApi& a) { return a.init(1); }, QL_ERR_ARGUMENT},
        {"debug: negative level", [](QuellinkApi& a) { return a.debug(-1); }, QL_ERR_ARGUMENT},
    };
}

TEST(HidRefusal, BadCallsAreRefusedAndSendNothing)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    ASSERT_EQ(h.count(kVendorUnit), 1);
    for (const Case& c : refusals()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call(h.api), c.expected);
    }
    EXPECT_TRUE(h.devices->sent().empty());
    // Nothing was registered either: a report reaches nobody.
    h.devices->inject(kConfigPath, HidHarness::vendorReport(0));
    uint32_t handle = 0;
    ASSERT_EQ(h.read(kConsumerUnit, QL_TAG_CONS, handle), 1);
    h.devices->inject(kConfigPath, {0x03, 0x01, 0x00});
    ASSERT_TRUE(CallbackRecorder::instance().waitFor(QL_TAG_CONS, 1));
    EXPECT_EQ(CallbackRecorder::instance().notices().size(), 1u);
}

TEST(HidRefusal, NothingWorksBeforeInitOrAfterEnd)
{
    const std::vector<uint8_t> report = HidHarness::vendorReport(0);
    const std::vector<uint8_t> status{0x05, 0x03};
    uint8_t buffer[64] = {};
    uint32_t handle = 7;
    const std::vector<Case> calls = {
        {"count",
         [](QuellinkApi& a) {
             return a.getDeviceCount(&kVendorUnit, nullptr, 0, HidHarness::sum(kVendorUnit, nullptr, 0));
         },
         QL_ERR_NOT_READY},
        {"write one",
         [&](QuellinkApi& a) {
             return a.writeOne(&kVendorUnit, nullptr, 0, report.data(), 64,
                               HidHarness::sum(kVendorUnit, nullptr, 0, report));
         },
         QL_ERR_NOT_READY},
        {"write",
         [&](QuellinkApi& a) {
             return a.write(&kVendorUnit, nullptr, 0, report.data(), 64,
                            HidHarness::sum(kVendorUnit, nullptr, 0, report));
         },
         QL_ERR_NOT_READY},
        {"read",
         [&](QuellinkApi& a) { return a.asyncRead(&kVendorUnit, cb, 1, HidHarness::sum(kVendorUnit, cb, 1), &handle); },
         QL_ERR_NOT_READY},
        {"status",
         [&](QuellinkApi& a) {
             return a.statusWrite(&kStatusUnit, cb, 1, status.data(), 2, HidHarness::sum(kStatusUnit, cb, 1, status),
                                  &handle);
         },
         QL_ERR_NOT_READY},
        {"get feature",
         [&](QuellinkApi& a) {
             return a.statusGet(&kVendorUnit, nullptr, 0, buffer, 64, HidHarness::sum(kVendorUnit, nullptr, 0));
         },
         QL_ERR_NOT_READY},
        {"set feature",
         [&](QuellinkApi& a) {
             return a.statusSetFeature(&kVendorUnit, nullptr, 0, report.data(), 64,
                                       HidHarness::sum(kVendorUnit, nullptr, 0, report));
         },
         QL_ERR_NOT_READY},
        {"delete", [](QuellinkApi& a) { return a.deleteRequest(1); }, QL_ERR_NOT_READY},
        {"end", [](QuellinkApi& a) { return a.end(); }, QL_ERR_NOT_READY},
        {"problem",
         [](QuellinkApi& a) {
             char text[64];
             return a.describeProblem(text, sizeof text);
         },
         QL_ERR_NOT_READY},
        {"debug is a setting, not a call on the keyboard", [](QuellinkApi& a) { return a.debug(0); }, 1},
    };

    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    ASSERT_EQ(h.api.end(), 1);
    QuellinkApi never([] { return std::unique_ptr<HidBackend>(); });
    for (QuellinkApi* api : {&h.api, &never}) {
        for (const Case& c : calls) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(c.call(*api), c.expected);
        }
    }
    EXPECT_EQ(handle, 0u) << "a refused registration leaves no stale handle behind";
    EXPECT_TRUE(h.devices->sent().empty());
    EXPECT_EQ(never.init(0), QL_ERR_IO) << "a backend that cannot start fails Init";

    // Init again after End.
    ASSERT_EQ(h.api.init(0), 1);
    EXPECT_EQ(h.api.init(0), 1);
    EXPECT_EQ(h.count(kVendorUnit), 1);
    EXPECT_EQ(h.writeOne(kVendorUnit, report), 1);
}

}  // namespace
}  // namespace ql::hid::test
