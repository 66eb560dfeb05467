// The exchange file's checks, and what the user is told when one fails.
#include "ProfilesTestSupport.h"

#include "core/device/Bytes.h"
#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileFileCheck.h"
#include "core/profiles/ProfileHeader.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>

namespace trevolin::profiles::test {
namespace {

using device::PutLe16;
using device::PutLe32;
using Bytes = std::string;

// A profile file of the default image: 32832 bytes, no macros, no texts.
Bytes ValidFile()
{
    ProfileStore store;
    Bytes bytes;
    EXPECT_TRUE(SerializeImage(store, bytes));
    return bytes;
}

uint8_t* At(Bytes& b, size_t offset)
{
    return reinterpret_cast<uint8_t*>(b.data()) + offset;
}

void Reseal(Bytes& b)
{
    *At(b, 31) = ProfileHeader::ComputeChecksum(std::span<const uint8_t>(At(b, 0), 32));
}

TEST(ProfileFileCheckTest, EveryHeaderRuleIsChecked)
{
    struct Case {
        const char* name;
        std::function<void(Bytes&)> change;  // the checksum is resealed afterwards unless noted
        int result;
        bool formatError;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"the default image", [](Bytes&) {}, 1, false, ""},
        {"flags 1", [](Bytes& b) { *At(b, 30) = 1; }, 1, false, ""},
        {"bytes past the total are ignored", [](Bytes& b) { b += "trailing"; }, 1, false, ""},
        {"magic", [](Bytes& b) { PutLe16(At(b, 0), 0x4447); }, 0, true, "the magic is 0x4447, not 0x4446"},
        {"header size", [](Bytes& b) { PutLe16(At(b, 2), 33); }, 0, true, "the header size is 33, not 32"},
        {"word 4", [](Bytes& b) { PutLe16(At(b, 4), 4); }, 0, true, "the word at offset 4 is 4, not 3"},
        {"word 6", [](Bytes& b) { PutLe16(At(b, 6), 0); }, 0, true, "the word at offset 6 is 0, not 1"},
        {"total below the fixed part", [](Bytes& b) { PutLe32(At(b, 8), 32831); }, 0, true,
         "the total size 32831 is below 32832"},
        {"entry count", [](Bytes& b) { PutLe16(At(b, 12), 2047); }, 0, true, "the entry count is 2047, not 2048"},
        {"101 macros even with a matching total",
         [](Bytes& b) {
             PutLe16(At(b, 14), 101);
             PutLe32(At(b, 8), 101 * 32512 + 32832);
         },
         0, true, "the macro count 101 is above 100"},
        {"flags 2", [](Bytes& b) { *At(b, 30) = 2; }, 0, true, "the flags byte is 2, neither 0 nor 1"},
        {"total disagrees with the counts", [](Bytes& b) { PutLe32(At(b, 16), 2); }, 0, true,
         "the total size 32832 does not match the 0 macros and 2 text bytes (32834)"},
        {"a total that only matches after wrapping",
         [](Bytes& b) {
             PutLe16(At(b, 14), 1);
             PutLe32(At(b, 16), 0xFFFFFFFFu - 32512 + 1);  // 32832 + 32512 + this wraps to 32832
         },
         0, true, "does not match"},
        {"checksum one too high",
         [](Bytes& b) {
             Reseal(b);
             ++*At(b, 31);
         },
         0, true, "the checksum byte is 0x"},
        {"shorter than its header declares",
         [](Bytes& b) {
             PutLe16(At(b, 14), 1);
             PutLe32(At(b, 8), 32512 + 32832);
         },
         0, false, "the file is 32832 bytes, fewer than the 65344 its header declares"},
        {"a text without its end",
         [](Bytes& b) {
             PutLe16(At(b, 64), 3);  // layer 0, entry 0: a program to launch, at text offset 0
             PutLe32(At(b, 16), 4);
             PutLe32(At(b, 8), 32836);
             b += std::string("a\0b\0", 4);
         },
         0, false, "a key's text"},
        {"smaller than a profile", [](Bytes& b) { b.resize(32831); }, 0, false, "smaller than the 32832 bytes"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = ValidFile();
        c.change(bytes);
        if (std::string(c.name).find("checksum") == std::string::npos && bytes.size() >= 32)
            Reseal(bytes);
        const auto check = CheckProfileFile(dir.Write("file.tvl", bytes));
        EXPECT_EQ(check.result, c.result);
        EXPECT_EQ(check.formatError, c.formatError);
        if (c.reason.empty()) {
            EXPECT_TRUE(check.reason.empty()) << check.reason;
        } else {
            EXPECT_NE(check.reason.find(c.reason), std::string::npos) << check.reason;
        }
    }
}

TEST(ProfileFileCheckTest, ExactlyTheFixedPartIsValid)
{
    TempDir dir;
    const Bytes bytes = ValidFile();
    ASSERT_EQ(bytes.size(), 32832u);
    EXPECT_EQ(CheckProfileFile(dir.Write("exact.tvl", bytes)).result, 1);
}

TEST(ProfileFileCheckTest, MissingFilesAndFoldersAreNotFound)
{
    TempDir dir;
    EXPECT_EQ(CheckProfileFile(dir.File("missing.tvl")).result, 0);
    std::filesystem::create_directory(dir.File("folder.tvl"));
    EXPECT_EQ(CheckProfileFile(dir.File("folder.tvl")).result, 0);
}

TEST(ProfileFileCheckTest, AFileThatCannotBeReadSaysWhy)
{
    TempDir dir;
    EXPECT_EQ(CheckProfileFile(dir.File("missing.tvl")).reason, "no such file");
    EXPECT_EQ(CheckProfileFile(dir.File("missing/inside.tvl")).reason, "no such file");
    std::filesystem::create_directory(dir.File("folder.tvl"));
    EXPECT_EQ(CheckProfileFile(dir.File("folder.tvl")).reason, "it is a folder, not a file");
}

// A broken header is named with the file's full path, then the restore
// says it failed; a file that is merely missing or short only gets the
// second message. Either way the store and the keyboard are left alone.
TEST(ProfileFileCheckTest, RestoreTellsWhyAFileIsRefused)
{
    struct Case {
        const char* name;
        std::function<std::string(TempDir&)> file;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {"checksum one too high",
         [](TempDir& d) {
             Bytes b = ValidFile();
             ++*At(b, 31);
             return d.Write("broken.tvl", b);
         },
         {"PROFILE_FORMAT_ERROR", "MAIN_PROMPT_INPORT"}},
        {"missing", [](TempDir& d) { return d.File("missing.tvl"); }, {"MAIN_PROMPT_INPORT"}},
        {"too small", [](TempDir& d) { return d.Write("small.tvl", "FD"); }, {"MAIN_PROMPT_INPORT"}},
        {"shorter than declared",
         [](TempDir& d) {
             Bytes b = ValidFile();
             PutLe16(At(b, 14), 1);
             PutLe32(At(b, 8), 32512 + 32832);
             Reseal(b);
             return d.Write("short.tvl", b);
         },
         {"MAIN_PROMPT_INPORT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRig rig;
        rig.profiles->SetChangesPending(true);
        SetEntry(rig.store, 0, MappedKeyNumber(17), keys::KeyAction{keys::KeyAction::Key, 0, 0x1E});
        Bytes before;
        ASSERT_TRUE(SerializeImage(rig.store, before));
        const std::string path = c.file(rig.dir);

        RestoreReport report;
        EXPECT_FALSE(rig.profiles->Restore(path, &report));
        EXPECT_EQ(rig.prompts.Keys(), c.messages);
        EXPECT_FALSE(report.check.reason.empty());
        if (c.messages.size() == 2) {
            EXPECT_EQ(rig.prompts.entries[0].text, path + " is damaged");
        }
        // The restore's own message gives the reason, as a warning.
        const auto& told = rig.prompts.entries.back();
        EXPECT_EQ(told.style, base::Prompts::Style::Warning);
        std::string reason = report.check.reason;
        reason.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(reason.front())));
        EXPECT_NE(told.text.find(reason), std::string::npos) << told.text;
        EXPECT_TRUE(rig.fake.written.empty());
        EXPECT_TRUE(rig.profiles->ChangesPending());
        Bytes after;
        ASSERT_TRUE(SerializeImage(rig.store, after));
        EXPECT_EQ(after, before);
    }
}

// A backup is the store as it stands, edits not yet applied included, and
// the checks accept it.
TEST(ProfileFileCheckTest, ABackupHoldsUnappliedEditsAndPassesTheChecks)
{
    FakeRig rig;
    const size_t key = MappedKeyNumber(17);
    SetEntry(rig.store, 2, key, keys::KeyAction{keys::KeyAction::Key, 0, 0x1F});
    std::vector<macros::Macro> list{MakeMacro(4, u"mine", 3)};
    ASSERT_TRUE(CommitMacroList(rig.store, list).committed);
    rig.profiles->SetChangesPending(true);

    const std::string path = rig.dir.File("backup.tvl");
    ASSERT_TRUE(rig.profiles->Backup(path));
    EXPECT_TRUE(rig.fake.written.empty());
    EXPECT_TRUE(rig.profiles->ChangesPending());
    EXPECT_EQ(CheckProfileFile(path).result, 1);
    ProfileStore copy;
    {
        std::lock_guard guard(copy.Lock());
        ASSERT_TRUE(ReadImageFile(copy, path));
    }
    EXPECT_EQ(EntryOf(copy, 2, key).value, 0x1Fu);
    EXPECT_EQ(MacroNameOfId(copy, 4), "mine");

    EXPECT_FALSE(rig.profiles->Backup(rig.dir.File("no-such-folder/backup.tvl")));
}

// Macro records whose values the keyboard cannot take: an event count past
// 4000 would be cut (the events after it lost), a play count of 0 has an
// obvious meaning and is raised to 1.
TEST(ProfileFileCheckTest, MacrosBeyondTheKeyboardsLimitsAreRefusedOrRaised)
{
    FakeRig rig;
    ProfileStore source;
    std::vector<macros::Macro> list{MakeMacro(1, u"first", 2), MakeMacro(2, u"second", 4)};
    ASSERT_TRUE(CommitMacroList(source, list).committed);
    Bytes good;
    ASSERT_TRUE(SerializeImage(source, good));
    const size_t second = FixedPartSize + MacroRecordSize;

    Bytes tooMany = good;
    PutLe16(At(tooMany, second + macros::Macro::EventCountOffset), 5000);
    const std::string tooManyPath = rig.dir.Write("many.tvl", tooMany);
    const auto refused = CheckProfileFile(tooManyPath);
    EXPECT_EQ(refused.result, 0);
    EXPECT_TRUE(refused.formatError);
    EXPECT_NE(refused.reason.find("macro 2 (\"second\") declares 5000 events"), std::string::npos) << refused.reason;
    RestoreReport refusedRestore;
    EXPECT_FALSE(rig.profiles->Restore(tooManyPath, &refusedRestore));
    EXPECT_TRUE(rig.fake.written.empty());

    Bytes silent = good;
    *At(silent, second + macros::Macro::PlayCountOffset) = 0;
    const std::string silentPath = rig.dir.Write("silent.tvl", silent);
    const auto check = CheckProfileFile(silentPath);
    EXPECT_EQ(check.result, 1);
    ASSERT_EQ(check.notes.size(), 1u);
    EXPECT_NE(check.notes[0].find("macro 2 (\"second\") has a play count of 0"), std::string::npos);
    RestoreReport report;
    ASSERT_TRUE(rig.profiles->Restore(silentPath, &report)) << report.problem;
    EXPECT_EQ(report.check.notes, check.notes);
    // The second record of the keyboard's area: its play count byte.
    const size_t record = device::GetLe16(rig.keyboard.macroArea.data() + 18);
    EXPECT_EQ(rig.keyboard.macroArea[record + 2], 1);
    std::vector<macros::Macro> stored;
    ASSERT_TRUE(ReadMacroList(rig.store, stored));
    EXPECT_EQ(stored[1].playCount, 1);
}

}  // namespace
}  // namespace trevolin::profiles::test
