// The updater the user picks is checked before the keyboard is put into its
// update mode.
#include "core/app/FirmwareUpdate.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace trevolin::app {
namespace {

TEST(FirmwareUpdate, OnlyAnExecutableRegularFileIsAnUpdater)
{
    trevolin::test::TempDir dir;
    const std::string program = dir.File("updater");
    const std::string text = dir.File("notes.txt");
    std::ofstream(program) << "#!/bin/sh\n";
    std::ofstream(text) << "hello\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    EXPECT_EQ(CheckUpdater(program), UpdaterCheck::Ready);
    EXPECT_EQ(CheckUpdater(text), UpdaterCheck::NotAProgram);
    EXPECT_EQ(CheckUpdater(dir.File("")), UpdaterCheck::NotAProgram);  // a folder
    EXPECT_EQ(CheckUpdater(dir.File("gone")), UpdaterCheck::Missing);
    EXPECT_EQ(CheckUpdater(""), UpdaterCheck::Missing);
}

}  // namespace
}  // namespace trevolin::app
