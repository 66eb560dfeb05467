#include "core/base/FormatText.h"
#include "core/base/IniFile.h"
#include "core/base/Language.h"
#include "LanguageKeys.h"
#include "core/app/WindowMessages.h"
#include "core/keyboard/KeyNames.h"
#include "core/lighting/EffectNames.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace trevolin::app {
namespace {

const std::string DataFolder = std::string(TREVOLIN_SOURCE_DIR) + "/data/";

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

// Every key the program reads, by section. Lists owned elsewhere are added
// here: the key names come with the key code table.
std::map<std::string, std::vector<std::string_view>> AskedKeys()
{
    std::map<std::string, std::vector<std::string_view>> asked;
    const auto textKeys = TextKeys();
    const auto keyNames = keyboard::KeyNameLanguageKeys();
    const auto lightKeys = LightKeys();
    const auto modeKeys = ModeKeys();
    auto& text = asked["TEXT"];
    text.assign(textKeys.begin(), textKeys.end());
    text.insert(text.end(), keyNames.begin(), keyNames.end());
    asked["LIGHT"].assign(lightKeys.begin(), lightKeys.end());
    asked["MODE"].assign(modeKeys.begin(), modeKeys.end());
    return asked;
}

struct ShippedFile {
    const char* file;
    const char* locale;  // a system language that chooses it
};

void PrintTo(const ShippedFile& shipped, std::ostream* out)
{
    *out << shipped.file;
}

const ShippedFile ShippedFiles[] = {
    {"Lang0409.ini", "en_US.UTF-8"},
    {"Lang0407.ini", "de_DE.UTF-8"},
    {"Lang040C.ini", "fr_FR.UTF-8"},
};

// Every entry of a language file, by section and key, read line by line
// on the file's own terms (independently of the program's reader).
using Entries = std::map<std::pair<std::string, std::string>, std::string>;

Entries ReadEntries(const std::string& path)
{
    Entries entries;
    std::ifstream in(path, std::ios::binary);
    std::string section;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto equals = line.find('=');
        if (equals != std::string::npos) {
            entries.emplace(std::pair{section, line.substr(0, equals)}, line.substr(equals + 1));
        }
    }
    return entries;
}

// The conversions of a text in order ("%s", "%d"...), and "%%" for a
// percent sign written as such.
std::vector<std::string> Conversions(std::string_view text)
{
    std::vector<std::string> found;
    for (size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at + 2)) {
        found.emplace_back(text.substr(at, 2));
    }
    return found;
}

// Reads a shipped file through the program's own lookup: the language
// file beside a (pretend) executable in the data folder, chosen by the
// system language.
class ShippedLanguageFileTest : public ::testing::TestWithParam<ShippedFile> {
protected:
    test::TempDir dir;
    base::Environment env = base::Environment::FromValues({{"LANG", GetParam().locale}, {"HOME", dir.File("home")}});
    base::Language language{*base::Locations::Build(DataFolder + "trevolin", env),
                            base::SettingsStore(dir.File("settings.ini")), env};

    std::string Lookup(const std::string& section, std::string_view key) const
    {
        if (section == "LIGHT") {
            return language.LightText(key);
        }
        if (section == "MODE") {
            // An effect the file does not name shows the program's English name.
            return lighting::EffectName(language, std::stoi(std::string(key)));
        }
        return language.Text(key);
    }
};

INSTANTIATE_TEST_SUITE_P(EveryLanguage, ShippedLanguageFileTest, ::testing::ValuesIn(ShippedFiles),
                         [](const auto& shipped) { return std::string(shipped.param.file).substr(4, 4); });

TEST_P(ShippedLanguageFileTest, HasEveryTextTheProgramAsksFor)
{
    ASSERT_EQ(language.LanguageFile(language.LanguageIndex()), DataFolder + GetParam().file);
    size_t checked = 0;
    for (const auto& [section, keys] : AskedKeys()) {
        for (const auto key : keys) {
            const std::string text = Lookup(section, key);
            EXPECT_NE(text, "#Error") << section << "/" << key;
            EXPECT_FALSE(text.empty()) << section << "/" << key;
            ++checked;
        }
    }
    EXPECT_GT(checked, 105u + 9u + 19u);
}

TEST_P(ShippedLanguageFileTest, FormatsHoldExactlyTheConversionsTheProgramFills)
{
    const std::pair<std::string_view, std::vector<base::FormatArgKind>> formats[] = {
        {UnknownKeyFormat, {base::FormatArgKind::Integer}},
        {MacroCountFormat, {base::FormatArgKind::Integer}},
        {MacroDelayFormat, {base::FormatArgKind::Integer}},
        {ProfileFileFormat, {base::FormatArgKind::Text}},
        {message::ApplyFailed, {base::FormatArgKind::Text}},
        {message::SaveFailed, {base::FormatArgKind::Text}},
        {message::SwitchFailed, {base::FormatArgKind::Integer}},
        {message::RateFailed, {base::FormatArgKind::Text}},
        {message::RestoreAsk, {base::FormatArgKind::Text}},
        {message::RestoreDone, {base::FormatArgKind::Text}},
        {message::BackupDone, {base::FormatArgKind::Text}},
        {message::BackupFailed, {base::FormatArgKind::Text}},
        {message::HelpMissing, {base::FormatArgKind::Text}},
        {"ACC_REPORT_RATE", {base::FormatArgKind::Integer}},
        {message::ReadFailed, {base::FormatArgKind::Text}},
        {message::LightFailed, {base::FormatArgKind::Text}},
        {"ACC_PRESET", {base::FormatArgKind::Text}},
        {message::LightUnread, {base::FormatArgKind::Text}},
    };
    for (const auto& [key, kinds] : formats) {
        const std::string text = language.Text(key);
        EXPECT_TRUE(base::FormatFits(text, kinds)) << key << ": " << text;
        EXPECT_FALSE(base::FormatFits(text, {})) << key << " has no conversion: " << text;
    }
    EXPECT_NE(base::FormatText(language.Text(UnknownKeyFormat), 325u).find("325"), std::string::npos);
    EXPECT_NE(base::FormatText(language.Text(MacroCountFormat), 100).find("100"), std::string::npos);
    EXPECT_NE(base::FormatText(language.Text(MacroDelayFormat), 40000).find("40000"), std::string::npos);
    EXPECT_NE(base::FormatText(language.Text(ProfileFileFormat), "/tmp/x.tvl").find("/tmp/x.tvl"), std::string::npos);
    // The macro name prefix is filled into "%s%d"; it is not a format itself.
    if (language.LanguageId() == 0x0409) {
        EXPECT_EQ(base::FormatText("%s%d", language.Text("MACRO_NEW_PREFIX"), 1), "Macro 1");
    }

    // Any other text shows as written, so a '%' there would be a mistake.
    for (const auto& [section, keys] : AskedKeys()) {
        for (const auto key : keys) {
            const bool isFormat = std::any_of(std::begin(formats), std::end(formats),
                                              [&](const auto& f) { return section == "TEXT" && f.first == key; });
            if (!isFormat) {
                EXPECT_EQ(Lookup(section, key).find('%'), std::string::npos) << section << "/" << key;
            }
        }
    }
}

// The file is checked line by line on its own terms, independently of the
// program's reader: only known sections, only keys the program asks for,
// each once, and short plain texts.
TEST_P(ShippedLanguageFileTest, IsAStrictlyWellFormedFile)
{
    std::ifstream in(DataFolder + GetParam().file, std::ios::binary);
    ASSERT_TRUE(in);
    const auto asked = AskedKeys();
    std::string section;
    std::set<std::pair<std::string, std::string>> seen;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        SCOPED_TRACE("line " + std::to_string(number) + ": " + line);
        EXPECT_EQ(line.find('\r'), std::string::npos);
        const std::string lower = Lower(line);
        EXPECT_EQ(lower.find("windows"), std::string::npos);
        EXPECT_EQ(lower.find("registry"), std::string::npos);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            ASSERT_EQ(line.back(), ']');
            section = line.substr(1, line.size() - 2);
            EXPECT_TRUE(asked.contains(section));
            continue;
        }
        const auto equals = line.find('=');
        ASSERT_NE(equals, std::string::npos);
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        EXPECT_FALSE(value.empty());
        EXPECT_LE(value.size(), base::IniFile::DefaultMaxValueLength);
        EXPECT_EQ(key.find_first_of(" \t"), std::string::npos);
        EXPECT_TRUE(seen.insert({section, Lower(key)}).second) << "repeated";
        const auto& keys = asked.at(section);
        EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end()) << "not asked for";
    }
    // The tray holds at most 127 characters.
    EXPECT_LE(language.Text("KEYBOARD_TRAY_DESC").size(), 127u);
}

// A translation says what the English file says: the same keys, and the
// same conversions in the same order wherever a text is filled in, and
// keeps the spaces English keeps at either end.
TEST_P(ShippedLanguageFileTest, MatchesTheEnglishFileKeyForKey)
{
    const Entries english = ReadEntries(DataFolder + "Lang0409.ini");
    const Entries translated = ReadEntries(DataFolder + GetParam().file);
    ASSERT_GT(english.size(), 300u);
    for (const auto& [where, text] : english) {
        SCOPED_TRACE(where.first + "/" + where.second);
        const auto it = translated.find(where);
        ASSERT_NE(it, translated.end());
        EXPECT_EQ(Conversions(it->second), Conversions(text)) << it->second;
        const bool quoted = where.first == "TEXT" && text.size() > 1 && text.front() == '"' && text.back() == '"';
        if (quoted) {
            const std::string value = language.Text(where.second);
            EXPECT_EQ(value.front() == ' ', text[1] == ' ') << value;
            EXPECT_EQ(value.back() == ' ', text[text.size() - 2] == ' ') << value;
        }
    }
    for (const auto& [where, text] : translated) {
        EXPECT_TRUE(english.contains(where)) << where.first << "/" << where.second << " is not in English";
    }
}

}  // namespace
}  // namespace trevolin::app
