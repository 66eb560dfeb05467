// The launcher's activation token, handed from a later start to the running
// instance.
#include "core/platform/ActivationToken.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace trevolin::platform {
namespace {

TEST(ActivationToken, IsTakenOnceAndOnlyWhenItIsAToken)
{
    trevolin::test::TempDir dir;
    const std::string folder = dir.File("run");
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(TakeActivationToken(folder));

    ASSERT_TRUE(HandOverActivationToken(folder, "weston-1f2e_3D:4"));
    EXPECT_EQ(TakeActivationToken(folder), "weston-1f2e_3D:4");
    EXPECT_FALSE(TakeActivationToken(folder));  // used once

    // Not tokens: refused when handed over, and dropped when found.
    const std::string tooLong(1025, 'a');
    for (const std::string& bad : {std::string(), std::string("two words"), std::string("line\n"), tooLong,
                                  std::string("nul\0x", 5), std::string("\xC3\xA9t\xC3\xA9")}) {
        EXPECT_FALSE(HandOverActivationToken(folder, bad)) << bad;
        std::ofstream(folder + "/VSDRAVIK.activation", std::ios::binary) << bad;
        EXPECT_FALSE(TakeActivationToken(folder)) << bad;
        EXPECT_FALSE(std::filesystem::exists(folder + "/VSDRAVIK.activation")) << bad;
    }
    EXPECT_TRUE(IsActivationToken(std::string(1024, 'a')));

    // A link placed there is not followed, and is removed.
    std::ofstream(dir.File("elsewhere")) << "secret-token";
    std::filesystem::create_symlink(dir.File("elsewhere"), folder + "/VSDRAVIK.activation");
    EXPECT_FALSE(TakeActivationToken(folder));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(folder + "/VSDRAVIK.activation")));
}

}  // namespace
}  // namespace trevolin::platform
