#include "core/base/IniFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <random>
#include <string>

#include <sys/stat.h>
#include <sys/types.h>

namespace trevolin::base {
namespace {

using test::TempDir;

// A file as people write them: comments, blank lines, odd spacing, quotes,
// a repeated section and key, a CRLF line end in one line.
constexpr std::string_view Sample = "; settings\n"
                                    "[Main]\n"
                                    "  Name = Trevolin  \n"
                                    "Empty=\n"
                                    "Quoted=\"  spaced  \"\n"
                                    "Single='x'\n"
                                    "Half=\"open\n"
                                    "Twice=first\n"
                                    "twice=second\n"
                                    "Crlf=yes\r\n"
                                    "noequals\n"
                                    "; Commented=1\n"
                                    "=orphan\n"
                                    "\n"
                                    "[  Other  ]\n"
                                    "Name=other\n"
                                    "[main]\n"
                                    "Late=hidden\n";

TEST(IniFileTest, ReadsLikeThePrivateProfileReader)
{
    TempDir dir;
    const IniFile file(dir.Write("sample.ini", Sample));
    struct Case {
        std::string_view section, key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"Main", "Name", "Trevolin"},
        {"MAIN", "nAmE", "Trevolin"},
        {"Main", "Empty", ""},
        {"Main", "Quoted", "  spaced  "},
        {"Main", "Single", "x"},
        {"Main", "Half", "\"open"},
        {"Main", "Twice", "first"},
        {"Main", "Crlf", "yes"},
        {"Main", "noequals", std::nullopt},
        {"Main", "; Commented", std::nullopt},
        {"Main", "Missing", std::nullopt},
        {"Main", "", std::nullopt},
        {"Other", "Name", "other"},
        {"Main", "Late", std::nullopt},  // only the first [Main] counts
        {"Nowhere", "Name", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(file.Read(c.section, c.key), c.expected) << c.section << "/" << c.key;
    }
    EXPECT_EQ(file.ReadString("Main", "Missing", "fallback"), "fallback");
    EXPECT_EQ(file.ReadString("Main", "Empty", "fallback"), "");
    EXPECT_EQ(IniFile(dir.File("absent.ini")).ReadString("Main", "Name", "fallback"), "fallback");
}

TEST(IniFileTest, ReadsPastAByteOrderMarkAndCutsLongValuesAtACharacter)
{
    TempDir dir;
    // 259 ASCII characters, then two 3-byte characters: the cut falls
    // after the first of them, not inside it.
    const std::string longValue = std::string(259, 'a') + "\xE2\x82\xAC\xE2\x82\xAC";
    const IniFile file(dir.Write("bom.ini", "\xEF\xBB\xBF[TEXT]\nLong=" + longValue + "\n"));
    EXPECT_EQ(file.Read("TEXT", "Long"), std::string(259, 'a') + "\xE2\x82\xAC");

    const IniFile wide(file.Path(), 1000);
    EXPECT_EQ(wide.Read("TEXT", "Long"), longValue);
}

TEST(IniFileTest, ReadsIntegersLikeTheProfileIntegerReader)
{
    TempDir dir;
    const IniFile file(dir.Write("numbers.ini", "[N]\nplain=42\nneg=-7\nplus=+3\ntrail=12abc\nword=abc\nempty=\n"
                                                "huge=99999999999999999999\nsmall=-99999999999999999999\n"));
    EXPECT_EQ(file.ReadInt("N", "plain", 5), 42);
    EXPECT_EQ(file.ReadInt("N", "neg", 5), -7);
    EXPECT_EQ(file.ReadInt("N", "plus", 5), 3);
    EXPECT_EQ(file.ReadInt("N", "trail", 5), 12);
    EXPECT_EQ(file.ReadInt("N", "word", 5), 0);
    EXPECT_EQ(file.ReadInt("N", "empty", 5), 0);
    EXPECT_EQ(file.ReadInt("N", "huge", 5), INT_MAX);
    EXPECT_EQ(file.ReadInt("N", "small", 5), INT_MIN);
    EXPECT_EQ(file.ReadInt("N", "missing", 5), 5);
}

TEST(IniFileTest, WritesChangeOnlyTheirOwnLine)
{
    TempDir dir;
    const std::string path = dir.Write("sample.ini", Sample);
    IniFile file(path);

    ASSERT_TRUE(file.Write("main", "NAME", "Changed"));
    ASSERT_TRUE(file.Write("Main", "Added", "new"));
    ASSERT_TRUE(file.Write("Other", "Second", "2"));
    ASSERT_TRUE(file.Write("Fresh", "Key", "value"));

    std::string expected(Sample);
    expected.replace(expected.find("  Name = Trevolin  "), 19, "Name=Changed");
    expected.insert(expected.find("Crlf=yes\r\n") + 10, "Added=new\n");
    expected.insert(expected.find("[main]"), "Second=2\n");
    expected += "[Fresh]\nKey=value\n";
    EXPECT_EQ(TempDir::Read(path), expected);
    EXPECT_EQ(file.Read("Main", "Name"), "Changed");
}

TEST(IniFileTest, ManyValuesGoInOneWriteOrNotAtAll)
{
    TempDir dir;
    const std::string path = dir.Write("many.ini", "[Mode0]\n1=old\n; note\n[Other]\nx=1\n");
    IniFile file(path);
    using Entry = std::pair<std::string_view, std::string_view>;

    const Entry good[] = {{"1", "255,0,0,1"}, {"2", "0,255,0,0"}, {"1", "1,2,3,1"}};
    ASSERT_TRUE(file.WriteMany("Mode0", good));
    EXPECT_EQ(TempDir::Read(path), "[Mode0]\n1=1,2,3,1\n2=0,255,0,0\n; note\n[Other]\nx=1\n");

    // One value that cannot be stored: the file stays as it was.
    const Entry bad[] = {{"3", "ok"}, {"4", "line\nbreak"}};
    EXPECT_FALSE(file.WriteMany("Mode0", bad));
    EXPECT_FALSE(file.Read("Mode0", "3"));
}

TEST(IniFileTest, WritesKeepLineEndsAndTheByteOrderMark)
{
    TempDir dir;
    const std::string path = dir.Write("crlf.ini", "\xEF\xBB\xBF[A]\r\nx=1");
    IniFile file(path);
    ASSERT_TRUE(file.Write("A", "y", "2"));
    ASSERT_TRUE(file.Write("B", "z", "3"));
    EXPECT_EQ(TempDir::Read(path), "\xEF\xBB\xBF[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
}

TEST(IniFileTest, ACarriageReturnEndingTheFileEndsItsLastLine)
{
    // The value of the last line reads the same before and after a line is
    // added behind it.
    struct Case {
        const char* content;
        const char* value;
        const char* section;  // where a new key goes
    };
    const Case cases[] = {
        {"[S]\nx=1\r", "1", "S"},
        {"[S]\nx=1\r", "1", "T"},
        {"[S]\nx=1\r\r", "1\r", "S"},
        {"[S]\nx=1\r\r", "1\r", "T"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        IniFile file(dir.Write("cr.ini", c.content));
        EXPECT_EQ(file.Read("S", "x"), c.value) << c.content;
        ASSERT_TRUE(file.Write(c.section, "y", "2"));
        EXPECT_EQ(file.Read("S", "x"), c.value) << c.content << " then " << c.section;
        EXPECT_EQ(file.Read(c.section, "y"), "2");
    }
}

TEST(IniFileTest, CreatesTheFileOnFirstWriteButNotItsFolder)
{
    TempDir dir;
    IniFile file(dir.File("new.ini"));
    EXPECT_EQ(file.Read("S", "k"), std::nullopt);
    ASSERT_TRUE(file.Write("S", "k", ""));
    EXPECT_EQ(TempDir::Read(file.Path()), "[S]\nk=\n");
    EXPECT_EQ(file.Read("S", "k"), "");

    EXPECT_FALSE(IniFile(dir.File("missing/new.ini")).Write("S", "k", "v"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST(IniFileTest, EveryValueThatCanBeWrittenReadsBackTheSame)
{
    TempDir dir;
    IniFile file(dir.File("values.ini"));
    const std::string values[] = {
        "plain",
        "",
        "  leading",
        "trailing  ",
        "\"quoted\"",
        "'single'",
        "\"",
        "a=b;c[d]",
        "\xE4\xB8\xAD\xE6\x96\x87",
        std::string(260, 'x'),
        "#Error",
        "%s%d",
    };
    for (size_t i = 0; i < std::size(values); ++i) {
        const std::string key = "k" + std::to_string(i);
        ASSERT_TRUE(file.Write("S", key, values[i])) << values[i];
        EXPECT_EQ(file.Read("S", key), values[i]);
    }
}

TEST(IniFileTest, RefusesWhatWouldNotReadBackAndLeavesTheFileAlone)
{
    TempDir dir;
    const std::string path = dir.Write("keep.ini", "[S]\nk=v\n");
    IniFile file(path);
    struct Case {
        std::string_view section, key;
        std::string value;
    };
    const Case refused[] = {
        {"S", "k", "two\nlines"},
        {"S", "k", "carriage\rreturn"},
        {"S", "k", std::string("nul\0byte", 8)},
        {"S", "k", std::string(261, 'x')},
        {"S", "a=b", "v"},
        {"S", "", "v"},
        {"S", " padded", "v"},
        {"S", ";comment", "v"},
        {"S", "[header", "v"},
        {"S", "new\nline", "v"},
        {"", "k", "v"},
        {"a]b", "k", "v"},
        {" S", "k", "v"},
        {"S\n[T]", "k", "v"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(file.Write(c.section, c.key, c.value)) << c.section << "/" << c.key;
    }
    EXPECT_EQ(TempDir::Read(path), "[S]\nk=v\n");
}

TEST(IniFileTest, ReplacesTheFileAtomicallyAndKeepsItsModeAndLinks)
{
    TempDir dir;
    const std::string target = dir.Write("target.ini", "[S]\nk=v\n");
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    const std::string link = dir.File("link.ini");
    std::filesystem::create_symlink(target, link);

    ASSERT_TRUE(IniFile(link).Write("S", "k", "w"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempDir::Read(target), "[S]\nk=w\n");
    struct stat status {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    // Nothing of the temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(IniFileTest, BinaryFilesAreReadSafelyAndKeptWhenWritten)
{
    TempDir dir;
    std::mt19937 random(20240611);
    std::string noise(64 * 1024, '\0');
    for (auto& byte : noise) {
        byte = static_cast<char>(random() & 0xFF);
    }
    // Noise around real entries: what parses is still found.
    const std::string path = dir.Write("noise.ini", noise + "\n[S]\nk=v\n" + noise);
    IniFile file(path);
    EXPECT_EQ(file.Read("S", "k"), "v");
    for (int i = 0; i < 50; ++i) {
        (void)file.Read("S", std::string(1, static_cast<char>(random() & 0xFF)));
    }
    ASSERT_TRUE(file.Write("T", "added", "1"));
    const std::string after = TempDir::Read(path);
    EXPECT_EQ(after.substr(0, noise.size() + 9), noise + "\n[S]\nk=v\n");
    EXPECT_EQ(file.Read("T", "added"), "1");
}

TEST(IniFileTest, OversizedAndSpecialFilesReadAsMissingAndAreNeverOverwritten)
{
    TempDir dir;
    const std::string huge = dir.Write("huge.ini", "[S]\nk=v\n" + std::string(IniFile::MaxFileSize, ';'));
    EXPECT_EQ(IniFile(huge).Read("S", "k"), std::nullopt);
    EXPECT_FALSE(IniFile(huge).Write("S", "k", "w"));
    EXPECT_EQ(std::filesystem::file_size(huge), IniFile::MaxFileSize + 8);

    // A FIFO would block an ordinary open for reading until a writer came.
    const std::string fifo = dir.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(IniFile(fifo).Read("S", "k"), std::nullopt);
    EXPECT_FALSE(IniFile(fifo).Write("S", "k", "v"));

    EXPECT_EQ(IniFile(dir.Path().string()).Read("S", "k"), std::nullopt);
    EXPECT_FALSE(IniFile(dir.Path().string()).Write("S", "k", "v"));
}

}  // namespace
}  // namespace trevolin::base
