#include "HidHarness.h"

#include <gtest/gtest.h>

#include <string>

namespace ql::hid::test {
namespace {

TEST(HidPermission, UnopenableKeyboardIsNamedAndNotCounted)
{
    HidHarness h;
    char text[128] = "untouched";
    EXPECT_EQ(h.api.describeProblem(text, sizeof text), 0);
    EXPECT_STREQ(text, "");

    FakeDevice node = configNode("/dev/hidraw3");
    node.openError = OpenError::Permission;
    h.devices->plug(node);
    uint32_t ctrl = 0;
    ASSERT_EQ(h.read(kVendorUnit, QL_TAG_CTRL, ctrl), 1);
    EXPECT_EQ(h.count(kVendorUnit), 0);
    EXPECT_EQ(h.api.describeProblem(text, sizeof text), QL_ERR_PERMISSION);
    EXPECT_STREQ(text, "permission denied on /dev/hidraw3 (0c45:5004)");

    char small[12];
    EXPECT_EQ(h.api.describeProblem(small, sizeof small), QL_ERR_PERMISSION);
    EXPECT_STREQ(small, "permission ");

    // The user fixes the rule and plugs again: the next pass opens it.
    h.devices->setOpenError("/dev/hidraw3", OpenError::None);
    h.poll();
    EXPECT_EQ(h.count(kVendorUnit), 1);
    EXPECT_EQ(h.api.describeProblem(text, sizeof text), 0);
    ASSERT_EQ(CallbackRecorder::instance().withTag(QL_TAG_CTRL).size(), 1u);
    EXPECT_EQ(CallbackRecorder::instance().withTag(QL_TAG_CTRL)[0].count, 1u);
}

TEST(HidPermission, ProblemGoesWithTheKeyboard)
{
    HidHarness h;
    FakeDevice node = configNode("/dev/hidraw3");
    node.openError = OpenError::Permission;
    h.devices->plug(node);
    FakeDevice second = configNode("/dev/hidraw9");
    second.openError = OpenError::Permission;
    second.productId = 0x5004;
    h.devices->plug(second);
    EXPECT_EQ(h.count(kVendorUnit), 0);
    char text[128];
    EXPECT_EQ(h.api.describeProblem(text, sizeof text), QL_ERR_PERMISSION);
    EXPECT_STREQ(text, "permission denied on /dev/hidraw3 (0c45:5004), /dev/hidraw9 (0c45:5004)");

    h.devices->unplug("/dev/hidraw3");
    h.devices->unplug("/dev/hidraw9");
    h.poll();
    EXPECT_EQ(h.api.describeProblem(text, sizeof text), 0);
}

TEST(HidPermission, OtherOpenFailuresAreNoPermissionProblem)
{
    HidHarness h;
    FakeDevice node = configNode(kConfigPath);
    node.openError = OpenError::Failed;
    h.devices->plug(node);
    EXPECT_EQ(h.count(kVendorUnit), 0);
    char text[64];
    EXPECT_EQ(h.api.describeProblem(text, sizeof text), 0);
}

}  // namespace
}  // namespace ql::hid::test
