#include "core/base/Language.h"

#include "core/base/SystemLanguage.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

namespace trevolin::base {
namespace {

using test::TempDir;

TEST(SystemLanguageTest, TheLocaleVariablesNameTheLanguage)
{
    struct Case {
        std::map<std::string, std::string, std::less<>> env;
        uint32_t expected;
    };
    const Case cases[] = {
        {{{"LANG", "en_US.UTF-8"}}, 0x0409},
        {{{"LANG", "en_GB.UTF-8"}}, 0x0809},
        {{{"LANG", "de_DE@euro"}}, 0x0407},
        {{{"LANG", "zh_SG.GB2312"}}, 0x1004},
        {{{"LANG", "zh_TW"}}, 0x0404},
        {{{"LANG", "fr_CA.utf8"}}, 0x0C0C},
        {{{"LANG", "de"}}, 0x0407},
        // clang-format off
        {{{"LANG", "de_BE.UTF-8"}}, 0x0407},  // territory unknown: the language's main id
        {{{"LANG", "EN_nz"}}, 0x1409},
        {{{"LANG", "C"}}, 0x0409},
        {{{"LANG", "C.UTF-8"}}, 0x0409},
        {{{"LANG", "POSIX"}}, 0x0409},
        {{{"LANG", "tlh_QO"}}, 0},  // no id for this language
        {{}, 0x0409},
        {{{"LC_ALL", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR"}, {"LANG", "en_GB"}}, 0x0407},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", "fr_FR"}, {"LANG", "en_GB"}}, 0x040C},
        {{{"LC_MESSAGES", ""}, {"LANG", "en_GB"}}, 0x0809},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SystemLanguage::Id(Environment::FromValues(c.env)), c.expected)
            << (c.env.empty() ? std::string("(none)") : c.env.rbegin()->second);
    }
}

class LanguageTest : public ::testing::Test {
protected:
    Language Make(std::string locale) const
    {
        const auto env = Environment::FromValues({{"LANG", std::move(locale)}, {"HOME", dir.File("home")}});
        return Language(*Locations::Build(dir.File("bin/trevolin"), env), settings, env);
    }
    std::optional<uint32_t> StoredId() const
    {
        return settings.GetDword(SettingsStore::LanguageKeyPath, SettingsStore::LanguageIdName);
    }
    void WriteLanguageFile(std::string_view content) const { dir.Write("bin/Lang0409.ini", content); }

    TempDir dir;
    SettingsStore settings{dir.File("config/settings.ini")};

    void SetUp() override { std::filesystem::create_directories(dir.File("bin")); }
};

TEST_F(LanguageTest, TheSystemLanguageChoosesUntilTheUserDoesAndNothingIsStored)
{
    struct Case {
        const char* locale;
        uint32_t expected;
        int index;
    };
    const Case cases[] =
        {
            // clang-format off
        {"en_GB.UTF-8", 0x0409, 0},  // mapped to US English
        {"en_US.UTF-8", 0x0409, 0},
        {"de_DE.UTF-8", 0x0407, 1},
        {"de_AT.UTF-8", 0x0407, 1},  // regional German reads the German file
        {"de_CH.UTF-8", 0x0407, 1},
        {"fr_FR.UTF-8", 0x040C, 2},
        {"fr_CA.UTF-8", 0x040C, 2},
        {"fr_BE.UTF-8", 0x040C, 2},
        {"fr_CH.UTF-8", 0x040C, 2},
        {"nl_NL.UTF-8", 0x0409, 0},  // no file: English
        {"zh_SG.UTF-8", 0x0409, 0},  // mapped to 0x0404, which has no file
        {"tlh_QO", 0x0409, 0},       // no id at all
            // clang-format on
        };
    for (const auto& c : cases) {
        std::filesystem::remove(settings.File());
        auto language = Make(c.locale);
        EXPECT_EQ(language.LanguageId(), c.expected) << c.locale;
        EXPECT_EQ(language.LanguageIndex(), c.index) << c.locale;
        EXPECT_FALSE(language.Chosen()) << c.locale;
        EXPECT_EQ(StoredId(), std::nullopt) << c.locale;
        EXPECT_FALSE(std::filesystem::exists(settings.File())) << c.locale;
    }
}

TEST_F(LanguageTest, AChosenLanguageIsKeptUntilTheUserGoesBackToAutomatic)
{
    auto language = Make("de_DE.UTF-8");
    EXPECT_EQ(language.ChoiceIndex(), -1);
    ASSERT_TRUE(language.Choose(2));
    EXPECT_TRUE(language.Chosen());
    EXPECT_EQ(language.ChoiceIndex(), 2);
    EXPECT_EQ(StoredId(), 0x040Cu);
    EXPECT_EQ(language.LanguageId(), 0x040Cu);
    EXPECT_EQ(language.LanguageFile(language.LanguageIndex()), dir.File("bin/Lang040C.ini"));

    ASSERT_TRUE(language.Choose(-1));
    EXPECT_FALSE(language.Chosen());
    EXPECT_EQ(language.ChoiceIndex(), -1);
    EXPECT_EQ(StoredId(), 0u);
    EXPECT_EQ(language.LanguageId(), 0x0407u);

    // A chosen language without a file stays chosen; texts come from slot 0.
    ASSERT_TRUE(settings.SetDword(SettingsStore::LanguageKeyPath, SettingsStore::LanguageIdName, 0x0404));
    WriteLanguageFile("[TEXT]\nHELLO=Hello\n");
    EXPECT_EQ(language.LanguageId(), 0x0404u);
    EXPECT_EQ(language.LanguageIndex(), 0);
    EXPECT_EQ(language.ChoiceIndex(), -2);
    EXPECT_EQ(language.Text("HELLO"), "Hello");
    EXPECT_EQ(StoredId(), 0x0404u);

    // A value of the wrong type means "choose automatically".
    ASSERT_TRUE(settings.SetString(SettingsStore::LanguageKeyPath, SettingsStore::LanguageIdName, "1031"));
    EXPECT_EQ(language.LanguageId(), 0x0407u);
    EXPECT_FALSE(language.Chosen());

    // Choosing by index: out of range counts as 0; an empty slot stores 0.
    EXPECT_TRUE(language.SetLanguageIndex(9));
    EXPECT_EQ(StoredId(), 0x0409u);
    EXPECT_TRUE(language.SetLanguageIndex(4));
    EXPECT_EQ(StoredId(), 0u);
    EXPECT_EQ(language.LanguageId(), 0x0407u);
}

TEST_F(LanguageTest, WithoutStorageTheLanguageIsWorkedOutOnEveryCall)
{
    std::filesystem::create_directories(settings.File());  // cannot be written
    const auto language = Make("en_GB");
    EXPECT_EQ(language.LanguageId(), 0x0409u);
    EXPECT_EQ(language.LanguageIndex(), 0);
}

TEST_F(LanguageTest, TextsComeFromTheirSectionsAtEveryLookup)
{
    const auto language = Make("en_US");
    EXPECT_EQ(language.Text("HELLO"), "#Error");  // no file yet

    WriteLanguageFile("[TEXT]\nHELLO=Hello\nEMPTY=\nSHARED=text\n"
                      "[LIGHT]\nSHARED=light\n"
                      "[MODE]\n20=Per-key colors\nSHARED=mode\n");
    EXPECT_EQ(language.Text("HELLO"), "Hello");
    EXPECT_EQ(language.Text("hello", 0), "Hello");
    EXPECT_EQ(language.Text("EMPTY"), "");
    EXPECT_EQ(language.Text("MISSING"), "#Error");
    EXPECT_EQ(language.Text("SHARED"), "text");
    EXPECT_EQ(language.LightText("SHARED"), "light");
    EXPECT_EQ(language.ModeText("SHARED"), "mode");
    EXPECT_EQ(language.ModeText("20"), "Per-key colors");
    EXPECT_EQ(language.ModeText("19"), "#Error");
    EXPECT_EQ(language.LightText("HELLO"), "#Error");

    // Indexes out of range, or of a slot without a language, read slot 0.
    for (const int index : {-1, 3, 5, 6, 99}) {
        EXPECT_EQ(language.Text("HELLO", index), "Hello") << index;
    }
    EXPECT_EQ(language.LanguageFile(3), dir.File("bin/Lang0409.ini"));

    WriteLanguageFile("[TEXT]\nHELLO=Changed\n");
    const TextLookup& lookup = language;
    EXPECT_EQ(lookup.Text("HELLO"), "Changed");

    // A translation reads English where it lacks a text or is missing.
    EXPECT_EQ(language.Text("HELLO", 2), "Changed");
    dir.Write("bin/Lang040C.ini", "[TEXT]\nHELLO=Bonjour\nEMPTY=\n");
    EXPECT_EQ(language.Text("HELLO", 2), "Bonjour");
    EXPECT_EQ(language.Text("EMPTY", 2), "");
    WriteLanguageFile("[TEXT]\nHELLO=Hello\nOTHER=Other\n");
    EXPECT_EQ(language.Text("OTHER", 2), "Other");
    EXPECT_EQ(language.Text("MISSING", 2), "#Error");
}

// Moves a file's modification time by `seconds`, as a later edit would.
void Touch(const std::string& file, int seconds)
{
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    timespec times[2] = {status.st_atim, status.st_mtim};
    times[1].tv_sec += seconds;
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

TEST_F(LanguageTest, FilesAreReadAgainOnlyWhenTheyChanged)
{
    WriteLanguageFile("[TEXT]\nHELLO=Hello\n");
    auto language = Make("en_US");
    EXPECT_EQ(language.Text("HELLO"), "Hello");
    EXPECT_EQ(language.Text("HELLO"), "Hello");
    const size_t reads = language.FileReads();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(language.Text("HELLO"), "Hello");
        EXPECT_EQ(language.LightText("HELLO"), "#Error");
        EXPECT_EQ(language.LanguageIndex(), 0);
    }
    EXPECT_EQ(language.FileReads(), reads);

    // Edits show at the next lookup: another size; the same size written in
    // place later; the same size and time in a file put in its place.
    const std::string file = dir.File("bin/Lang0409.ini");
    WriteLanguageFile("[TEXT]\nHELLO=Longer hello\n");
    EXPECT_EQ(language.Text("HELLO"), "Longer hello");
    WriteLanguageFile("[TEXT]\nHELLO=Longer howdy\n");
    Touch(file, 5);
    EXPECT_EQ(language.Text("HELLO"), "Longer howdy");
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    dir.Write("bin/other.ini", "[TEXT]\nHELLO=Longer hi-ho\n");
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, dir.File("bin/other.ini").c_str(), times, 0), 0);
    std::filesystem::rename(dir.File("bin/other.ini"), file);
    EXPECT_EQ(language.Text("HELLO"), "Longer hi-ho");
    std::filesystem::remove(file);
    EXPECT_EQ(language.Text("HELLO"), "#Error");

    // So does a language chosen in the settings, by this program or another.
    ASSERT_TRUE(settings.SetDword(SettingsStore::LanguageKeyPath, SettingsStore::LanguageIdName, 0x0404));
    EXPECT_EQ(language.LanguageId(), 0x0404u);
    EXPECT_TRUE(language.SetLanguageIndex(0));
    EXPECT_EQ(language.LanguageId(), 0x0409u);

    const size_t settled = language.FileReads();
    EXPECT_EQ(language.Text("HELLO"), "#Error");
    EXPECT_EQ(language.Text("HELLO"), "#Error");
    EXPECT_EQ(language.FileReads(), settled);
}

TEST_F(LanguageTest, LookupsFromSeveralThreadsSeeOneFileOrTheOther)
{
    WriteLanguageFile("[TEXT]\nHELLO=one\n");
    const auto language = Make("en_US");
    std::vector<std::thread> readers;
    std::vector<std::string> odd(2);
    for (size_t t = 0; t < 2; ++t) {
        readers.emplace_back([&language, &odd, t] {
            for (int i = 0; i < 300; ++i) {
                const auto text = language.Text("HELLO");
                if (text != "one" && text != "three")
                    odd[t] = text;
            }
        });
    }
    // Each version is put in place whole, as an editor that saves safely does.
    for (int i = 0; i < 50; ++i) {
        dir.Write("bin/next.ini", i % 2 == 0 ? "[TEXT]\nHELLO=three\n" : "[TEXT]\nHELLO=one\n");
        std::filesystem::rename(dir.File("bin/next.ini"), dir.File("bin/Lang0409.ini"));
    }
    for (auto& reader : readers)
        reader.join();
    for (const auto& text : odd)
        EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace trevolin::base
