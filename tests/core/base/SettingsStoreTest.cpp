#include "core/base/SettingsStore.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace trevolin::base {
namespace {

using test::TempDir;

constexpr std::string_view LanguageKey = SettingsStore::LanguageKeyPath;

TEST(SettingsStoreTest, KeepsNumbersAndTextsApartInAReadableFile)
{
    TempDir dir;
    SettingsStore store(dir.File("config/trevolin/settings.ini"));
    EXPECT_EQ(store.Get(LanguageKey, "dwLanguageId"), std::nullopt);

    ASSERT_TRUE(store.SetDword(LanguageKey, "dwLanguageId", 0x0409));
    ASSERT_TRUE(store.SetProfileString("Flip", "1"));
    EXPECT_EQ(TempDir::Read(store.File()), "[Software\\Dravik-RGB_01]\ndwLanguageId=dword:00000409\n"
                                           "[Software\\Trevolin_Marbeck\\Trevolin\\PROFILES]\nFlip=sz:1\n");

    EXPECT_EQ(store.GetDword("software\\dravik-rgb_01", "DWLANGUAGEID"), 0x0409u);
    EXPECT_EQ(store.GetString(LanguageKey, "dwLanguageId"), std::nullopt);
    // "1" stored as text is not the number 1.
    EXPECT_EQ(store.GetDword(SettingsStore::ProfilesKeyPath(), "Flip"), std::nullopt);
    EXPECT_EQ(store.ProfileString("Flip", "0"), "1");
    EXPECT_EQ(store.ProfileString("Missing", "0"), "0");

    ASSERT_TRUE(store.SetString(LanguageKey, "dwLanguageId", "409"));
    EXPECT_EQ(store.GetDword(LanguageKey, "dwLanguageId"), std::nullopt);
    ASSERT_TRUE(store.SetDword(LanguageKey, "dwLanguageId", 0xFFFFFFFF));
    EXPECT_EQ(store.GetDword(LanguageKey, "dwLanguageId"), 0xFFFFFFFFu);
}

TEST(SettingsStoreTest, AnyNameAndTextSurvivesARoundTripWithoutHarmingItsNeighbours)
{
    TempDir dir;
    SettingsStore store(dir.File("settings.ini"));
    ASSERT_TRUE(store.SetProfileString("Before", "kept"));
    const std::pair<std::string, std::string> entries[] = {
        {"Record delay = on", "1"},
        {"line\nbreak", "two\nlines\r\n"},
        {" spaced ", "  both ends  "},
        {"[section]", "C:\\Users\\x"},
        {";comment", std::string("nul\0inside", 10)},
        {"100%", "\"quoted\""},
        {"PROFILE01", "/home/u/My \xE6\x96\x87\xE4\xBB\xB6/profile.tvl"},
    };
    for (const auto& [name, value] : entries) {
        ASSERT_TRUE(store.SetProfileString(name, value)) << name;
    }
    for (const auto& [name, value] : entries) {
        EXPECT_EQ(store.GetString(SettingsStore::ProfilesKeyPath(), name), value) << name;
    }
    EXPECT_EQ(store.ProfileString("Before", ""), "kept");
    EXPECT_EQ(store.ProfileString("Record delay ", "none"), "none");
}

TEST(SettingsStoreTest, ACorruptFileKeepsWhatParsesAndLosesNothingOnWrite)
{
    TempDir dir;
    const std::string garbage = "\x01\x02 not ini at all\n"
                                "[Software\\Dravik-RGB_01]\n"
                                "dwLanguageId=dword:xyz\n"
                                "Other=dword:0000000A\n"
                                "Untyped=hello\n"
                                "Long=dword:123456789\n"
                                "Text=sz:a\\qb\\\n"
                                "[Software\\Trevolin_Marbeck\\Trevolin\\PROFILES\n"
                                "Flip=sz:1\n";
    const std::string path = dir.Write("settings.ini", garbage);
    SettingsStore store(path);

    EXPECT_EQ(store.Get(LanguageKey, "dwLanguageId"), std::nullopt);
    EXPECT_EQ(store.GetDword(LanguageKey, "Other"), 10u);
    EXPECT_EQ(store.Get(LanguageKey, "Untyped"), std::nullopt);
    EXPECT_EQ(store.Get(LanguageKey, "Long"), std::nullopt);
    // Unknown escapes are kept as written.
    EXPECT_EQ(store.GetString(LanguageKey, "Text"), "a\\qb\\");
    // A header without its closing bracket still names its section.
    EXPECT_EQ(store.ProfileString("Flip", "0"), "1");

    ASSERT_TRUE(store.SetDword(LanguageKey, "dwLanguageId", 0x0409));
    std::string expected = garbage;
    expected.replace(expected.find("dword:xyz"), 9, "dword:00000409");
    EXPECT_EQ(TempDir::Read(path), expected);
}

TEST(SettingsStoreTest, AnUnwritableStoreFailsWithoutDamage)
{
    TempDir dir;
    // A folder where the file should be: nothing can be stored.
    std::filesystem::create_directories(dir.File("settings.ini"));
    SettingsStore store(dir.File("settings.ini"));
    EXPECT_FALSE(store.SetDword(LanguageKey, "dwLanguageId", 1));
    EXPECT_EQ(store.GetDword(LanguageKey, "dwLanguageId"), std::nullopt);

    SettingsStore fine(dir.File("ok.ini"));
    EXPECT_FALSE(fine.SetString(LanguageKey, "x", std::string(SettingsStore::MaxTextLength + 1, 'x')));
    EXPECT_FALSE(fine.SetString(LanguageKey, "", "v"));
    EXPECT_FALSE(fine.SetString("", "x", "v"));
    EXPECT_TRUE(fine.SetString(LanguageKey, "x", std::string(SettingsStore::MaxTextLength, '\n')));
    EXPECT_EQ(fine.GetString(LanguageKey, "x"), std::string(SettingsStore::MaxTextLength, '\n'));
}

TEST(SettingsStoreTest, TheDefaultFileFollowsTheEnvironment)
{
    struct Case {
        std::map<std::string, std::string, std::less<>> env;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {{{"TREVOLIN_CONFIG_HOME", "/t"}, {"XDG_CONFIG_HOME", "/x"}, {"HOME", "/h"}}, "/t/trevolin/settings.ini"},
        {{{"XDG_CONFIG_HOME", "/x/"}, {"HOME", "/h"}}, "/x/trevolin/settings.ini"},
        {{{"TREVOLIN_CONFIG_HOME", ""}, {"XDG_CONFIG_HOME", "relative"}, {"HOME", "/h"}},
         "/h/.config/trevolin/settings.ini"},
        {{{"XDG_CONFIG_HOME", "relative"}}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SettingsStore::DefaultFile(Environment::FromValues(c.env)), c.expected);
    }
}

}  // namespace
}  // namespace trevolin::base
