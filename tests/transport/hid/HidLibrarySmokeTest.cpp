#include "transport/QlChecksum.h"
#include "transport/quellink.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

template <typename Fn>
Fn resolve(void* library, const char* name)
{
    return reinterpret_cast<Fn>(dlsym(library, name));
}

// The shipped library itself, as the program loads it. This machine has no
// keyboard, so the count is 0. The library stays loaded, as in the program.
TEST(HidLibrarySmoke, LoadsResolvesAndCountsNoKeyboard)
{
    void* library = dlopen(QUELLINK_HID_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const char* name : {"Debug", "Init", "End", "RequestGetDeviceCount", "DeleteRequestFromUnitId",
                             "DeleteRequestFromHandle", "RequestWrite", "RequestWriteOne", "RequestStatusWrite",
                             "RequestStatusGet", "RequestAsyncRead", "RequestStatusSetFeature", "QlDescribeProblem"})
        EXPECT_NE(dlsym(library, name), nullptr) << name;
    // ql::hid::Log::setLevel(int): what is not the C ABI stays hidden.
    EXPECT_EQ(dlsym(library, "_ZN2ql3hid3Log8setLevelEi"), nullptr);

    auto init = resolve<decltype(&Init)>(library, "Init");
    auto end = resolve<decltype(&End)>(library, "End");
    auto count = resolve<decltype(&RequestGetDeviceCount)>(library, "RequestGetDeviceCount");
    auto remove = resolve<decltype(&DeleteRequestFromHandle)>(library, "DeleteRequestFromHandle");
    auto describe = resolve<decltype(&QlDescribeProblem)>(library, "QlDescribeProblem");
    ASSERT_TRUE(init && end && count && remove && describe);

    const QlUnitId vendor{15, 0x0C45, 0x5004, 0xFF1C, 0x0092, 0};
    const uint32_t sum = ql::callSum(&vendor, nullptr, 0, nullptr, 0);
    EXPECT_EQ(count(&vendor, nullptr, 0, sum, nullptr), QL_ERR_NOT_READY);
    ASSERT_EQ(init(0), 1);
    EXPECT_EQ(count(&vendor, nullptr, 0, sum, nullptr), 0);
    EXPECT_EQ(count(&vendor, nullptr, 0, sum + 1, nullptr), QL_ERR_CHECKSUM);
    char text[128];
    EXPECT_EQ(describe(text, sizeof text), 0) << text;
    EXPECT_EQ(remove(0), 0);
    EXPECT_EQ(end(), 1);
    EXPECT_EQ(count(&vendor, nullptr, 0, sum, nullptr), QL_ERR_NOT_READY);
}

}  // namespace
