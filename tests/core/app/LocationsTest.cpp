#include "core/app/Locations.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace trevolin::app {
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
    EXPECT_EQ(Locations::Build("/usr/bin/trevolin", relativeXdg)->UserFolder(),
              "/home/u/.local/share/Dravik-RGB_01");
    const auto rootHome = Environment::FromValues({{"HOME", "/"}});
    EXPECT_EQ(Locations::Build("/trevolin", rootHome)->UserFolder(), "/.local/share/Dravik-RGB_01");
    EXPECT_EQ(Locations::Build("/trevolin", rootHome)->ExeDirectory(), "/");

    EXPECT_FALSE(Locations::Build("/usr/bin/trevolin", Environment::FromValues({})));
    EXPECT_FALSE(Locations::Build("/usr/bin/trevolin", Environment::FromValues({{"HOME", ""}})));
    EXPECT_FALSE(Locations::Build("bin/trevolin", rootHome));
    EXPECT_FALSE(Locations::Build("/usr/bin/", rootHome));
    EXPECT_FALSE(Locations::Build("", rootHome));
    EXPECT_FALSE(Locations::Build("/" + std::string(Locations::MaxPathLength, 'x') + "/trevolin", rootHome));
    EXPECT_FALSE(Locations::Build("/usr/bin/trevolin",
                                  Environment::FromValues({{"HOME", "/" + std::string(Locations::MaxPathLength, 'x')}})));
}

TEST(LocationsTest, TheRunningExecutableIsFoundAndTheUserFolderCreated)
{
    test::TempDir dir;
    const auto env = Environment::FromValues({{"XDG_DATA_HOME", dir.File("deep/share")}});
    const auto locations = Locations::ForThisProcess(env);
    ASSERT_TRUE(locations);
    EXPECT_TRUE(std::filesystem::equivalent(locations->ExeDirectory() + locations->OwnFileName(), "/proc/self/exe"));

    EXPECT_FALSE(std::filesystem::exists(locations->UserFolder()));
    ASSERT_TRUE(locations->EnsureUserFolder());
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("deep/share/Dravik-RGB_01")));
    EXPECT_TRUE(locations->EnsureUserFolder());
}

}  // namespace
}  // namespace trevolin::app
