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
    FakeDevice other = configNode("/dev/hidraw5");
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
        {"nested collection that hidapi lists", unit(0x5004, 0xFF1C, 0x0093), 0},
        {"usage the keyboard lacks", unit(0x5004, 0xFF1C, 0x0001), 0},
        {"the other product", unit(0x1234, 0xFF1C, 0x0092), 1},
        {"a product nobody has", unit(0x5005, 0xFF1C, 0x0092), 0},
        {"usage page only", unit(0x5004, 0xFF1C, 0x0000, 7), 1},
        {"any collection of the keyboard: both nodes", unit(0x5004, 0, 0, 3), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(h.count(c.unit), c.count);
    }
}

TEST(HidMatching, EachKeyboardCountsOnceAndLeavingUncounts)
{
    HidHarness h;
    h.devices->plug(configNode(kConfigPath));
    EXPECT_EQ(h.count(kVendorUnit), 1);

    h.devices->plug(configNode("/dev/hidraw4"));
    h.poll();
    EXPECT_EQ(h.count(kVendorUnit), 2);
    EXPECT_EQ(h.count(kStatusUnit), 2);

    h.devices->unplug(kConfigPath);
    h.poll();
    EXPECT_EQ(h.count(kVendorUnit), 1);
}

TEST(HidMatching, WithoutDescriptorTheEnumerationDecides)
{
    HidHarness h;
    FakeDevice node = configNode(kConfigPath);
    node.descriptor.clear();
    node.listed = {{0xFF1C, 0x0092}, {0xFF1C, 0x0092}};  // listed twice: still one device
    h.devices->plug(node);
    EXPECT_EQ(h.count(kVendorUnit), 1);
    EXPECT_EQ(h.count(kConsumerUnit), 0);
}

}  // namespace
}  // namespace ql::hid::test
