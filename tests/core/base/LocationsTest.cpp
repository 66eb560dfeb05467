#include "core/base/Locations.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace trevolin::base {
namespace {

TEST(LocationsTest, EverythingBesideTheExecutableAndTheUserFolderInTheDataHome)
{
    const auto env = Environment::FromValues({{"XDG_DATA_HOME", "/data/"}, {"HOME", "/home/u"}});
    const auto locations = Locations::Build("/opt/trevolin/bin/trevolin", env);
    ASSERT_TRUE(locations);
    EXPECT_EQ(locations->OwnFileName(), "trevolin");
    EXPECT_EQ(locations->ExeDirectory(), "/opt/trevolin/bin/");
    EXPECT_EQ(locations->HelpDirectory(), "/opt/trevolin/bin/Help/");
    EXPECT_EQ(locations->SkinDirectory(), "/opt/trevolin/bin/Skins/");
    EXPECT_EQ(locations->MainSkinFile(), "/opt/trevolin/bin/Skins/Main.ini");
    EXPECT_EQ(locations->ProfileSkinFile(), "/opt/trevolin/bin/Skins/Profile.ini");
    EXPECT_EQ(locations->UpdateSkinFile(), "/opt/trevolin/bin/Skins/UpdateDlg.ini");
    EXPECT_EQ(locations->CompositeSkinFile(), "/opt/trevolin/bin/Skins/Composite.ini");
    EXPECT_EQ(locations->FactoryLightingPrefix(), "/opt/trevolin/bin/Skins/UserDengColor_");
    EXPECT_EQ(locations->PackageDirectory(), "/opt/trevolin/bin/Package");
    EXPECT_EQ(locations->Daemon(), "/opt/trevolin/bin/Varnok");
    EXPECT_EQ(locations->UserFolder(), "/data/Dravik-RGB_01");
    EXPECT_EQ(locations->UserSettingsFile(), "/data/Dravik-RGB_01/wskb.ini");
    EXPECT_EQ(locations->UserLightingPrefix(), "/data/Dravik-RGB_01/UserDengColor_");
    EXPECT_EQ(locations->LanguageFile(0x0409), "/opt/trevolin/bin/Lang0409.ini");
    EXPECT_EQ(locations->LanguageFile(0x1004), "/opt/trevolin/bin/Lang1004.ini");
    EXPECT_EQ(locations->LanguageFile(0xC0A), "/opt/trevolin/bin/Lang0C0A.ini");
}

TEST(LocationsTest, TheDataHomeFallsBackToHomeAndBadInputsAreRefused)
{
    const auto relativeXdg = Environment::FromValues({{"XDG_DATA_HOME", "data"}, {"HOME", "/home/u/"}});
    EXPECT_EQ(Locations::Build("/usr/bin/trevolin", relativeXdg)->UserFolder(), "/home/u/.local/share/Dravik-RGB_01");
    const auto rootHome = Environment::FromValues({{"HOME", "/"}});
    EXPECT_EQ(Locations::Build("/trevolin", rootHome)->UserFolder(), "/.local/share/Dravik-RGB_01");
    EXPECT_EQ(Locations::Build("/trevolin", rootHome)->ExeDirectory(), "/");

    EXPECT_FALSE(Locations::Build("/usr/bin/trevolin", Environment::FromValues({})));
    EXPECT_FALSE(Locations::Build("/usr/bin/trevolin", Environment::FromValues({{"HOME", ""}})));
    EXPECT_FALSE(Locations::Build("bin/trevolin", rootHome));
    EXPECT_FALSE(Locations::Build("/usr/bin/", rootHome));
    EXPECT_FALSE(Locations::Build("", rootHome));
    EXPECT_FALSE(Locations::Build("/" + std::string(Locations::MaxPathLength, 'x') + "/trevolin", rootHome));
    EXPECT_FALSE(Locations::Build(
        "/usr/bin/trevolin", Environment::FromValues({{"HOME", "/" + std::string(Locations::MaxPathLength, 'x')}})));
}

TEST(LocationsTest, TheRunningExecutableIsFoundAndTheUserFolderCreated)
{
    test::TempDir dir;
    const auto env = Environment::FromValues({{"XDG_DATA_HOME", dir.File("deep/share")}});
    auto locations = Locations::ForThisProcess(env);
    ASSERT_TRUE(locations);
    EXPECT_TRUE(std::filesystem::equivalent(locations->ExeDirectory() + locations->OwnFileName(), "/proc/self/exe"));

    EXPECT_FALSE(std::filesystem::exists(locations->UserFolder()));
    ASSERT_TRUE(locations->EnsureUserFolder());
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("deep/share/Dravik-RGB_01")));
    EXPECT_TRUE(locations->EnsureUserFolder());
}

// Whatever created the folder before (the simulated keyboard's state file,
// an older version, another command), each mode file it lacks is the
// template and each one it has stays as it is.
TEST(LocationsTest, TheUserFolderGetsEveryModeFileItLacksFromTheTemplate)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "bin/Skins");
    const std::string templateText = "[PRESENT]\nUserMode=0\n[0]\nname=User 1\n";
    dir.Write("bin/Skins/UserDengColor_3.userd", templateText);
    const auto env = Environment::FromValues({{"XDG_DATA_HOME", dir.File("share")}});
    auto locations = Locations::Build(dir.File("bin/trevolin"), env);
    ASSERT_TRUE(locations);
    const auto modeFile = [&](int profile) {
        return locations->UserLightingPrefix() + std::to_string(profile) + ".userd";
    };

    struct Case {
        const char* name;
        std::vector<int> present;  // mode files the folder already holds
    };
    for (const Case& c :
         {Case{"no folder", {}}, Case{"empty folder", {}}, Case{"one file written", {0}}, Case{"two files", {0, 2}}}) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(locations->UserFolder());
        if (std::string_view(c.name) != "no folder")
            std::filesystem::create_directories(locations->UserFolder());
        for (const int profile : c.present)
            dir.Write("share/Dravik-RGB_01/UserDengColor_" + std::to_string(profile) + ".userd", "[0]\nname=mine\n");

        ASSERT_TRUE(locations->EnsureUserFolder());
        for (int profile = 0; profile < Locations::LightingModeFileCount; ++profile) {
            const bool had = std::find(c.present.begin(), c.present.end(), profile) != c.present.end();
            EXPECT_EQ(test::TempDir::Read(modeFile(profile)), had ? "[0]\nname=mine\n" : templateText) << profile;
        }
        EXPECT_FALSE(std::filesystem::exists(modeFile(3)));
    }

    // Without a template the folder is still there, and no empty mode file
    // pretends to be one.
    std::filesystem::remove(dir.File("bin/Skins/UserDengColor_3.userd"));
    std::filesystem::remove_all(locations->UserFolder());
    ASSERT_TRUE(locations->EnsureUserFolder());
    EXPECT_TRUE(std::filesystem::is_empty(locations->UserFolder()));
}

}  // namespace
}  // namespace trevolin::base
