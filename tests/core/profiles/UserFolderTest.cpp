#include "core/profiles/UserFolder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace trevolin::profiles {
namespace {

namespace fs = std::filesystem;

struct UserFolderTest : ::testing::Test {
    UserFolderTest()
    {
        fs::create_directories(dir.Path() / "program/Skins");
        folder.colorTemplate = dir.Write("program/Skins/UserDengColor_3.userd", "[MODE]\nEffect=3\n");
        folder.path = (dir.Path() / "data/Dravik-RGB_01").string();
    }
    test::TempDir dir;
    UserFolder folder;
};

TEST_F(UserFolderTest, NewFolderIsSeededWithThreeCopiesOfTheTemplate)
{
    ASSERT_TRUE(EnsureUserFolder(folder));
    for (const char* name : {"UserDengColor_0.userd", "UserDengColor_1.userd", "UserDengColor_2.userd"})
        EXPECT_EQ(test::TempDir::Read((fs::path(folder.path) / name).string()), "[MODE]\nEffect=3\n") << name;
    EXPECT_FALSE(fs::exists(fs::path(folder.path) / "UserDengColor_3.userd"));
}

TEST_F(UserFolderTest, ExistingFolderGetsOnlyTheModeFilesItLacks)
{
    fs::create_directories(folder.path);
    const std::string own = dir.Write("data/Dravik-RGB_01/UserDengColor_1.userd", "[MODE]\nEffect=7\n");
    ASSERT_TRUE(EnsureUserFolder(folder));
    EXPECT_EQ(test::TempDir::Read(own), "[MODE]\nEffect=7\n");
    for (const char* name : {"UserDengColor_0.userd", "UserDengColor_2.userd"})
        EXPECT_EQ(test::TempDir::Read((fs::path(folder.path) / name).string()), "[MODE]\nEffect=3\n") << name;
}

TEST_F(UserFolderTest, MissingTemplateStillGivesTheFolder)
{
    folder.colorTemplate = dir.File("nowhere.userd");
    ASSERT_TRUE(EnsureUserFolder(folder));
    EXPECT_TRUE(fs::is_directory(folder.path));
}

TEST_F(UserFolderTest, EveryProfileIndexNamesTheSameProfileFile)
{
    const auto expected = (fs::path(folder.path) / "$Profile0").string();
    for (int index : {-1, 0, 1, 2})
        EXPECT_EQ(ProfileFilePath(folder, index), expected) << index;
    EXPECT_TRUE(fs::exists(fs::path(folder.path) / "UserDengColor_1.userd"));  // the folder was made on the way
    EXPECT_FALSE(fs::exists(expected));
}

}  // namespace
}  // namespace trevolin::profiles
