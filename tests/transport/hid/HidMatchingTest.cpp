#include "HidHarness.h"

#include <gtest/gtest.h>

namespace ql::hid::test {
namespace {

QlUnitId unit(uint16_t productId, uint16_t usagePage, uint16_t usage, uint32_t flags = 15)
{
    return QlUnitId{flags, 0x0C45, productId, usagePage, usage, 0};
}

TEST(HidMatching, NoKeyboardCountsZero)
{
    HidHarness h;
    EXPECT_EQ(h.count(kVendorUnit), 0);
    EXPECT_EQ(h.count(kConsumerUnit), 0);
}

TEST(HidMatching, CountsTopLevelCollectionsOfTheUnitsDevice)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    h.devices->plug(bootNode(kBootPath));
    // Another product that carries the very same collections.
    FakeDevice other = configNode("/dev/hidraw5", "/sys/devices/usb1/1-2");
    other.productId = 0x1234;
    h.devices->plug(other);

    struct Case {
        const char* name;
        QlUnitId unit;
        int32_t count;
    };
    const Case cases[] = {
        {"vendor collection", kVendorUnit, 1},
        {"consumer collection", kConsumerUnit, 1},
        {"status collection", kStatusUnit, 1},
        {"boot keyboard on its own node", kBootUnit, 1},
        {"nested collection", unit(0x5004, 0xFF1C, 0x0093), 0},
        {"usage the keyboard lacks", unit(0x5004, 0xFF1C, 0x0001), 0},
        {"the other product", unit(0x1234, 0xFF1C, 0x0092), 1},
        {"a product nobody has", unit(0x5005, 0xFF1C, 0x0092), 0},
        {"usage page only", unit(0x5004, 0xFF1C, 0x0000, 7), 1},
        {"any collection of the keyboard: one keyboard, however many nodes", unit(0x5004, 0, 0, 3), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(h.count(c.unit), c.count);
    }
}

TEST(HidMatching, WithoutDescriptorTheNodeIsNamedNotGuessedAt)
{
    // Nothing would tell which collection a report belongs to: a node used
    // anyway would count as a keyboard whose replies never arrive.
    HidHarness h;
    FakeDevice node = configNode(kConfigPath);
    node.descriptor.clear();
    h.devices->plug(node);
    EXPECT_EQ(h.count(kVendorUnit), 0);
    EXPECT_EQ(h.devices->openHandles(), 0);
    char text[128];
    EXPECT_EQ(h.api.describeProblem(text, sizeof text), QL_ERR_IO);
    EXPECT_STREQ(text, "cannot read the report descriptor of /dev/hidraw1 (0c45:5004)");

    FakeDevice broken = configNode("/dev/hidraw2", "/sys/devices/usb1/1-2");
    broken.descriptor.pop_back();  // an End Collection short
    h.devices->plug(broken);
    h.poll();
    EXPECT_EQ(h.count(kVendorUnit), 0);
    EXPECT_EQ(h.api.describeProblem(text, sizeof text), QL_ERR_IO);
    EXPECT_STREQ(text, "cannot read the report descriptor of /dev/hidraw1 (0c45:5004), /dev/hidraw2 (0c45:5004)");
}

TEST(HidMatching, AUnitAskedAboutBeyondTheRememberedOnesStillCounts)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    for (uint16_t usage = 0x100; usage < 0x100 + 64; ++usage)
        ASSERT_EQ(h.count(unit(0x5004, 0xFF1C, usage)), 0);
    // Not remembered, but looked up for this call all the same.
    EXPECT_EQ(h.count(kVendorUnit), 1);
}

}  // namespace
}  // namespace ql::hid::test
