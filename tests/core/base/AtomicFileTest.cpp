#include "core/base/AtomicFile.h"
#include "core/base/PrivateFolder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace trevolin::base {
namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The umask of the test, put back whatever happens.
struct Umask {
    explicit Umask(mode_t mask) : previous(::umask(mask)) {}
    ~Umask() { ::umask(previous); }
    mode_t previous;
};

TEST(AtomicFile, NewFilesAreTheUsersAloneAndAChosenModeIsKept)
{
    const Umask permissive(0);
    test::TempDir dir;
    const std::string fresh = dir.File("$Profile0");
    ASSERT_TRUE(AtomicFile::Write(fresh, "macros"));
    EXPECT_EQ(ModeOf(fresh), 0600u);
    EXPECT_EQ(test::TempDir::Read(fresh), "macros");

    const std::string shared = dir.Write("backup.tvl", "old");
    ASSERT_EQ(::chmod(shared.c_str(), 0644), 0);
    ASSERT_TRUE(AtomicFile::Write(shared, "new"));
    EXPECT_EQ(ModeOf(shared), 0644u);
    EXPECT_EQ(test::TempDir::Read(shared), "new");
}

TEST(PrivateFolder, MissingFoldersAreCreatedForTheUserAloneExistingOnesKeepTheirMode)
{
    const Umask permissive(0);
    test::TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const std::string folder = dir.File("share/Dravik-RGB_01");
    ASSERT_TRUE(CreatePrivateFolders(folder));
    EXPECT_EQ(ModeOf(dir.File("share")), 0700u);
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(ModeOf(dir.Path().string()), 0755u);
    EXPECT_TRUE(CreatePrivateFolders(folder));

    dir.Write("file", "x");
    EXPECT_FALSE(CreatePrivateFolders(dir.File("file/below")));
    EXPECT_FALSE(CreatePrivateFolders(dir.File("file")));
}

}  // namespace
}  // namespace trevolin::base
