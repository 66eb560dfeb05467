#include "core/lighting/ColourText.h"
#include "core/lighting/LightingFiles.h"
#include "core/lighting/ModeFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace trevolin::lighting {
namespace {

using trevolin::test::TempDir;

class ModeFileTest : public ::testing::Test {
protected:
    TempDir dir;
    LightingFiles files{dir.File("UserDengColor_"), dir.File("Skins-UserDengColor_"), dir.File("wskb.ini")};
};

TEST_F(ModeFileTest, AMissingFileReadsAsItsDefaults)
{
    const ModeFile file = files.ModeFileOf(1);
    EXPECT_EQ(file.Path(), dir.File("UserDengColor_1.userd"));
    EXPECT_EQ(file.ReadPresentUserMode(), 0);
    for (int u = 0; u < ModeFile::UserModeCount; ++u)
        EXPECT_EQ(file.ReadUserModeName(u), "0");
    EXPECT_EQ(file.ReadUserModeSettings(4), UserModeSettings{});
    EXPECT_EQ(file.ReadKeyColour(9, 143), (KeyColour{{255, 0, 0}, true}));
    EXPECT_FALSE(files.ReadLightingView());
}

TEST_F(ModeFileTest, KeyEntriesAreReadLenientlyButNeverOutOfRange)
{
    const std::vector<std::pair<std::string, KeyColour>> cases = {
        {"12,34,56,7", {{12, 34, 56}, true}},  {"12,34,56,1", {{12, 34, 56}, true}},
        {"12,34,56,0", {{12, 34, 56}, false}}, {" 1 , 2 ,3, -1", {{1, 2, 3}, true}},
        {"300,-5,20,1", {{255, 0, 20}, true}}, {"99999999999999999999,0,0,0", {{255, 0, 0}, false}},
        {"12,34,56", {{12, 34, 56}, false}},                                    // no flag: the key keeps its own colour
        {"12,34,56,x", {{12, 34, 56}, false}}, {"12,34", {{255, 0, 0}, true}},  // not a colour: as if missing
        {"red", {{255, 0, 0}, true}},          {"", {{255, 0, 0}, true}},
    };
    const std::string path = dir.Write("UserDengColor_0.userd", "");
    const ModeFile file(path);
    for (const auto& [text, expected] : cases) {
        dir.Write("UserDengColor_0.userd", "[Mode2]\n7=" + text + "\n");
        EXPECT_EQ(file.ReadKeyColour(2, 7), expected) << text;
    }

    dir.Write("UserDengColor_0.userd",
              "[PRESENTMODE]\nmode=12\n[Mode0]\ntool=7\njcolor=1,2,300\ncolor=bad\n[Mode1]\ntool=1\n");
    EXPECT_EQ(file.ReadPresentUserMode(), 0);
    EXPECT_EQ(file.ReadUserModeSettings(0), (UserModeSettings{0, {1, 2, 255}, {0, 0, 0}}));
    EXPECT_EQ(file.ReadUserModeSettings(1).tool, 1);
    dir.Write("UserDengColor_0.userd", "[PRESENTMODE]\nmode=-1\n");
    EXPECT_EQ(file.ReadPresentUserMode(), 0);
    dir.Write("UserDengColor_0.userd", "[PRESENTMODE]\nmode=9\n");
    EXPECT_EQ(file.ReadPresentUserMode(), 9);
}

TEST_F(ModeFileTest, WritesUseTheFilesFormats)
{
    ModeFile file = files.ModeFileOf(2);
    EXPECT_TRUE(file.WritePresentUserMode(4));
    EXPECT_TRUE(file.WriteUserModeSettings(4, {1, {1, 2, 3}, {250, 251, 252}}));
    EXPECT_TRUE(file.WriteKeyColour(4, 125, {{7, 8, 9}, true}));
    EXPECT_TRUE(file.WriteUserModeName(3, "Night"));
    EXPECT_EQ(TempDir::Read(file.Path()), "[PRESENTMODE]\nmode=4\n"
                                          "[Mode4]\ntool=1\njcolor=1,2,3\ncolor=250,251,252\n125=7,8,9,1\n"
                                          "[MODENAME]\n3=Night\n");
    EXPECT_EQ(file.ReadKeyColour(4, 125), (KeyColour{{7, 8, 9}, true}));
    EXPECT_EQ(file.ReadUserModeName(3), "Night");

    // Nothing outside the ten modes and the 144 lights reaches the file.
    const std::string before = TempDir::Read(file.Path());
    EXPECT_FALSE(file.WritePresentUserMode(10));
    EXPECT_FALSE(file.WriteKeyColour(-1, 2, {}));
    EXPECT_FALSE(file.WriteKeyColour(0, 144, {}));
    EXPECT_FALSE(file.WriteUserModeName(3, "two\nlines"));
    EXPECT_EQ(TempDir::Read(file.Path()), before);
}

TEST_F(ModeFileTest, ResetMakesTheFileTheTemplateByteForByte)
{
    // Line endings, comments and odd spacing all survive the copy.
    const std::string factory = "; factory\r\n[PRESENTMODE]\r\nmode = 0\r\n[Mode0]\n2=1,2,3,1";
    dir.Write("Skins-UserDengColor_3.userd", factory);
    dir.Write("UserDengColor_1.userd", "[PRESENTMODE]\nmode=5\n[Mode5]\n2=9,9,9,0\n" + std::string(5000, ';'));
    EXPECT_TRUE(files.ResetModeFile(1));
    EXPECT_EQ(TempDir::Read(dir.File("UserDengColor_1.userd")), factory);

    std::filesystem::remove(dir.File("Skins-UserDengColor_3.userd"));
    EXPECT_TRUE(files.ResetModeFile(1));
    EXPECT_TRUE(std::filesystem::exists(dir.File("UserDengColor_1.userd")));
    EXPECT_EQ(TempDir::Read(dir.File("UserDengColor_1.userd")), "");
    EXPECT_EQ(files.ModeFileOf(1).ReadKeyColour(0, 2), (KeyColour{{255, 0, 0}, true}));

    EXPECT_FALSE(files.ResetModeFile(3));
}

TEST_F(ModeFileTest, TheLightingViewIsOnOnlyForTheValue1)
{
    for (const auto& [stored, on] : std::vector<std::pair<std::string, bool>>{
             {"1", true}, {"0", false}, {"2", false}, {"-1", false}, {"", false}}) {
        dir.Write("wskb.ini", "[KEYCOLOR]\nDengCheck=" + stored + "\n");
        EXPECT_EQ(files.ReadLightingView(), on) << stored;
    }
    EXPECT_TRUE(files.WriteLightingView(true));
    EXPECT_EQ(TempDir::Read(files.SettingsFile()), "[KEYCOLOR]\nDengCheck=1\n");
}

}  // namespace
}  // namespace trevolin::lighting
