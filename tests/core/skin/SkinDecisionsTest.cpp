#include "core/skin/ButtonFace.h"
#include "core/skin/ButtonText.h"
#include "core/skin/MainSkin.h"
#include "core/skin/MaskRuns.h"
#include "core/skin/PictureLimits.h"
#include "core/skin/SkinIni.h"
#include "core/skin/SkinPictureName.h"
#include "core/skin/SkinRect.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace trevolin::skin {
namespace {

TEST(SkinRectTest, ReadsFourNumbersAndIgnoresWhatFollows)
{
    struct Case {
        const char* text;
        SkinRect rect;
    };
    for (const Case& c :
         {Case{"10,20,60,24", {10, 20, 60, 24}}, Case{"1,1,1,1,x", {1, 1, 1, 1}}, Case{" 5, 6,\t7,8", {5, 6, 7, 8}},
          Case{"-3,+4,0,0", {-3, 4, 0, 0}}, Case{"1,2,3,4 ; comment", {1, 2, 3, 4}}}) {
        const auto reading = ParseSkinRect(c.text);
        EXPECT_EQ(reading.status, SkinRectStatus::Ok) << c.text;
        EXPECT_EQ(reading.rect, c.rect) << c.text;
    }
}

TEST(SkinRectTest, MalformedValuesReadAsTheUnusedPlace)
{
    for (const char* text :
         {"", "x", "10,20,60", "10,20,60,", "10;20;60;24", "10,,60,24", "a,b,c,d", "10,20,-1,5", "10,20,5,-1",
          "99999999999999999999,1,1,1", "16385,1,1,1", "1,1,1,2147483648", "- 1,2,3,4", "0x10,2,3,4", "5, 6 ,7,8"}) {
        const auto reading = ParseSkinRect(text);
        EXPECT_EQ(reading.status, SkinRectStatus::Malformed) << '"' << text << '"';
        EXPECT_EQ(reading.rect, UnusedSkinRect) << '"' << text << '"';
        EXPECT_TRUE(IsUnusedPlace(reading.rect));
    }
}

TEST(SkinIniTest, MissingKeysAndMaskFallBack)
{
    SkinIni ini;
    ini.LoadText("/skins/Main.ini", "[SCREEN]\nMain=back.jpg\n[BUTTONINFO]\nFUNC_ADD=10,20,60,24\nBAD=1,2\n");
    EXPECT_EQ(ini.Folder(), "/skins/");
    EXPECT_EQ(ini.MaskName(), "back.jpg");
    EXPECT_EQ(ini.Rect("BUTTONINFO", "FUNC_ADD").rect, (SkinRect{10, 20, 60, 24}));
    EXPECT_EQ(ini.Rect("BUTTONINFO", "NOT_THERE").status, SkinRectStatus::Missing);
    EXPECT_EQ(ini.Rect("BUTTONINFO", "NOT_THERE").rect, UnusedSkinRect);
    EXPECT_EQ(ini.Rect("BUTTONINFO", "BAD").status, SkinRectStatus::Malformed);
}

TEST(ButtonFaceTest, FirstStateThatAppliesWins)
{
    struct Case {
        ButtonFaceState state;
        ButtonFace face;
    };
    const std::vector<Case> cases = {
        {{}, ButtonFace::Normal},
        {{.ticked = true}, ButtonFace::Ticked},
        {{.hover = true, .ticked = true}, ButtonFace::Hover},
        {{.pressed = true, .hover = true, .ticked = true}, ButtonFace::Pressed},
        {{.overrideOn = true, .pressed = true}, ButtonFace::Override},
        {{.overrideOn = true, .overrideSecond = true}, ButtonFace::OverrideSecond},
        {{.overrideSecond = true}, ButtonFace::Normal},
        {{.enabled = false, .overrideOn = true, .pressed = true, .ticked = true}, ButtonFace::Disabled},
        {{.enabled = false, .ticked = true}, ButtonFace::Disabled},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(ChooseButtonFace(cases[i].state), cases[i].face) << "case " << i;
    }
    EXPECT_EQ(FaceSourceRect(10, 20, 60, 24), (SkinRect{9, 19, 60, 24}));
}

TEST(ButtonTextTest, DrawFormatsAndRotatedBox)
{
    using H = ButtonTextAlignment::Horizontal;
    using V = ButtonTextAlignment::Vertical;
    EXPECT_EQ(AlignmentOfDrawFormat(37), (ButtonTextAlignment{H::Centre, V::Centre, true, false}));
    EXPECT_EQ(AlignmentOfDrawFormat(40), (ButtonTextAlignment{H::Left, V::Bottom, true, false}));
    // Vertical placement needs a single line.
    EXPECT_EQ(AlignmentOfDrawFormat(4 | 16), (ButtonTextAlignment{H::Left, V::Top, false, true}));

    // 26.8 degrees, a 100 x 16 text in a 200 x 40 box: the horizontal
    // extent is 89, the vertical 45 (not smaller than 40: no lift).
    const SkinRect box{0, 0, 200, 40};
    const SkinRect moved = RotatedTextBox(box, 100, 16, 268);
    EXPECT_EQ(moved.x, (200 - 89) / 2 - 3);
    EXPECT_EQ(moved.y + moved.h, 40);
    // Unrotated, a short text is centred by both edges.
    const SkinRect flat = RotatedTextBox(box, 40, 10, 0);
    EXPECT_EQ(flat.x, 80);
    EXPECT_EQ(flat.y + flat.h, 40 - (40 / 2 - 5));
}

TEST(MaskRunsTest, OnlyPureWhiteIsOutside)
{
    const uint32_t W = 0xFFFFFFFF, B = 0xFF000000, G = 0xFFFEFFFF;
    EXPECT_EQ(InsideRuns(std::vector<uint32_t>{W, B, B, W, G, W}), (std::vector<MaskRun>{{1, 3}, {4, 5}}));
    EXPECT_TRUE(InsideRuns(std::vector<uint32_t>{W, W, 0x00FFFFFF}).empty());
    EXPECT_EQ(InsideRuns(std::vector<uint32_t>{B, B}), (std::vector<MaskRun>{{0, 2}}));
}

TEST(SkinPictureNameTest, DoubleSizeTwin)
{
    EXPECT_EQ(DoubleSizePictureName("main_normal.jpg"), "main_normal@2x.jpg");
    EXPECT_EQ(DoubleSizePictureName("/a.b/Skins/0.bmp"), "/a.b/Skins/0@2x.bmp");
    EXPECT_EQ(DoubleSizePictureName("/a.b/noext"), "/a.b/noext@2x");
    EXPECT_FALSE(UsesDoubleSize(1.0));
    EXPECT_TRUE(UsesDoubleSize(1.25));
}

TEST(PictureLimitsTest, SizesAndTruncatedJpeg)
{
    EXPECT_EQ(PictureLimits::SizeProblem(1248, 540), nullptr);
    EXPECT_NE(PictureLimits::SizeProblem(0, 10), nullptr);
    EXPECT_NE(PictureLimits::SizeProblem(100000, 10), nullptr);
    EXPECT_NE(PictureLimits::SizeProblem(8000, 8000), nullptr);
    const std::vector<uint8_t> whole = {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3, 0xFF, 0xD9};
    const std::vector<uint8_t> cut(whole.begin(), whole.end() - 2);
    EXPECT_FALSE(PictureLimits::LooksTruncated(whole));
    EXPECT_TRUE(PictureLimits::LooksTruncated(cut));
    EXPECT_FALSE(PictureLimits::LooksTruncated(std::vector<uint8_t>{0x89, 'P', 'N', 'G'}));
}

TEST(PictureLimitsTest, FormatFromTheFirstBytes)
{
    const struct {
        std::vector<uint8_t> bytes;
        std::string_view format;
    } cases[] = {
        {{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0}, "png"},
        {{0x89, 'P', 'N', 'G', '\r', '\n'}, ""},  // cut inside the signature
        {{'B', 'M', 0x36, 0}, "bmp"},
        {{0xFF, 0xD8, 0xFF, 0xE0}, "jpeg"},
        {{'G', 'I', 'F', '8', '9', 'a'}, "gif"},
        {{'B'}, ""},
        {{}, ""},
        {{'<', 's', 'v', 'g'}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PictureLimits::FormatOf(c.bytes), c.format) << c.bytes.size() << " bytes";
}

TEST(MainSkinTest, PicturesPerButtonFollowTheWindowsTable)
{
    using P = MainPicture;
    EXPECT_EQ(MainButtonPicturesOf("FUNC_PROFILE1"), (MainButtonPictures{P::Over, P::Down, P::Normal, P::Disable}));
    EXPECT_EQ(MainButtonPicturesOf("LOCK_AB"), (MainButtonPictures{P::Normal, P::Normal, P::Normal, P::Over}));
    EXPECT_EQ(MainButtonPicturesOf("VELTRA_LINK"), (MainButtonPictures{P::Over, P::Disable, P::Normal, P::Normal}));
    EXPECT_EQ(MainButtonPicturesOf("CONTROL2_APPLY"), (MainButtonPictures{P::Over, P::Down, P::Disable, P::Normal}));
    EXPECT_EQ(MainButtonPicturesOf("KEY_0B7"), (MainButtonPictures{P::Over, P::Down, P::Disable, P::Down}));
    EXPECT_EQ(MainButtonPicturesOf("FUNC_G9"), MainButtonPicturesOf("KEY_01E"));
    EXPECT_FALSE(MainButtonPicturesOf("KEY_0FF").has_value());
    EXPECT_FALSE(MainButtonPicturesOf("COLOR_R").has_value());
    // 29 command buttons, Fn among them, the nine G keys, the 105 keys.
    EXPECT_EQ(MainImageButtonKeys().size(), 29u + 9u + 105u);
}

}  // namespace
}  // namespace trevolin::skin
