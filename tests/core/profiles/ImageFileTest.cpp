#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileHeader.h"
#include "core/profiles/ProfileLayout.h"
#include "core/profiles/ProfileStore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace trevolin::profiles {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ToBytes(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

std::string ToString(const Bytes& b)
{
    return std::string(b.begin(), b.end());
}

void PutLe16(Bytes& b, size_t at, uint16_t v)
{
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void PutLe32(Bytes& b, size_t at, uint32_t v)
{
    PutLe16(b, at, static_cast<uint16_t>(v));
    PutLe16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

size_t EntryAt(size_t slot)
{
    return EntriesOffset + slot * EntrySize;
}

// A store with texts spread over two layers, one of them on an entry whose
// kind carries no text.
void FillTexts(ProfileStore& store)
{
    auto& image = store.Image();
    const auto put = [&](size_t layer, size_t index, uint16_t kind, std::u16string_view text) {
        const size_t slot = ProfileImage::SlotOf(layer, index);
        image.SetEntryKind(slot, kind);
        image.SetEntryValue(slot, 0xDEAD);  // a stale offset the packing replaces
        EXPECT_TRUE(store.Texts().Set(slot, text));
    };
    put(0, 3, keys::KeyAction::TextBlock, u"hello");           // 12 bytes
    put(0, 300, keys::KeyAction::LaunchProgram, u"ab");        // 6 bytes
    put(1, 2, 2, u"zzz");                                      // kind 2: 8 bytes kept in the total, never packed
    put(1, 5, keys::KeyAction::LaunchProgram, u"C:/a/b.exe");  // 10 characters, 22 bytes
}

struct Fixture : ::testing::Test {
    test::TempDir dir;
    ProfileStore store;

    Bytes Serialized()
    {
        std::string out;
        EXPECT_TRUE(SerializeImage(store, out));
        return ToBytes(out);
    }
};

using ImageFile = Fixture;

TEST_F(ImageFile, EmptyImageIsExactlyTheFixedPart)
{
    const auto path = dir.File("$Profile0");
    ASSERT_TRUE(WriteImageFile(store, true, path));
    const auto bytes = ToBytes(test::TempDir::Read(path));
    ASSERT_EQ(bytes.size(), 32832u);
    const auto header = ProfileHeader::Read(bytes);
    EXPECT_EQ(header.totalSize, 32832u);
    EXPECT_EQ(header.macroCount, 0);
    EXPECT_EQ(header.stringBytes, 0u);
    EXPECT_EQ(bytes, ProfileImage::DefaultFixedPart(0));
}

TEST_F(ImageFile, TextsArePackedInEntryOrderAndTheirOffsetsWrittenBack)
{
    FillTexts(store);
    const auto bytes = Serialized();
    const auto header = ProfileHeader::Read(bytes);
    EXPECT_EQ(header.stringBytes, 12u + 6u + 8u + 22u);
    ASSERT_EQ(bytes.size(), 32832u + 48u);
    EXPECT_EQ(header.totalSize, bytes.size());

    struct Expected {
        size_t layer, index;
        uint32_t offset;
        std::u16string text;
    };
    const Expected expected[] = {{0, 3, 0, u"hello"}, {0, 300, 12, u"ab"}, {1, 5, 18, u"C:/a/b.exe"}};
    for (const auto& e : expected) {
        const size_t slot = ProfileImage::SlotOf(e.layer, e.index);
        EXPECT_EQ(store.Image().EntryValue(slot), e.offset) << "the store carries the offset";
        const size_t at = EntryAt(slot) + EntryValueOffset;
        EXPECT_EQ(bytes[at] | (bytes[at + 1] << 8), static_cast<int>(e.offset)) << "and so does the file";
        for (size_t i = 0; i <= e.text.size(); ++i) {
            const size_t p = 32832 + e.offset + 2 * i;
            const char16_t unit = i < e.text.size() ? e.text[i] : u'\0';
            EXPECT_EQ(bytes[p] | (bytes[p + 1] << 8), unit) << "text at " << e.offset << " unit " << i;
        }
    }
    // The kind-2 entry keeps its value; its bytes stay zero at the end.
    EXPECT_EQ(store.Image().EntryValue(ProfileImage::SlotOf(1, 2)), 0xDEADu);
    for (size_t p = 32832 + 40; p < bytes.size(); ++p)
        EXPECT_EQ(bytes[p], 0) << p;
}

TEST_F(ImageFile, WrittenImageReadsBackWithMacrosTextsAndEntries)
{
    FillTexts(store);
    Bytes macros(2 * MacroRecordSize);
    for (size_t i = 0; i < macros.size(); ++i)
        macros[i] = static_cast<uint8_t>(i * 7);
    ASSERT_TRUE(store.Image().SetMacroRecords(macros, 2));
    store.Image().SetEntryKind(ProfileImage::SlotOf(3, 511), 8);
    const auto path = dir.File("backup.tvl");
    ASSERT_TRUE(WriteImageFile(store, false, path));
    EXPECT_EQ(test::TempDir::Read(path).size(), 32832u + 2 * 32512u + 48u);

    ProfileStore loaded;
    ASSERT_TRUE(ReadImageFile(loaded, path));
    EXPECT_EQ(loaded.Image().MacroCount(), 2);
    const auto records = loaded.Image().MacroRecords();
    EXPECT_EQ(Bytes(records.begin(), records.end()), macros);
    const auto fixedA = std::as_const(store.Image()).FixedPart();
    const auto fixedB = std::as_const(loaded.Image()).FixedPart();
    EXPECT_TRUE(std::equal(fixedA.begin(), fixedA.end(), fixedB.begin(), fixedB.end()));
    EXPECT_EQ(loaded.Texts().Text(ProfileImage::SlotOf(0, 3)), u"hello");
    EXPECT_EQ(loaded.Texts().Text(ProfileImage::SlotOf(1, 5)), u"C:/a/b.exe");
    EXPECT_FALSE(loaded.Texts().HasText(ProfileImage::SlotOf(1, 2)));
    EXPECT_EQ(loaded.Texts().TotalBytes(), 12u + 6u + 22u);
}

TEST_F(ImageFile, OddTextOffsetsHaveTheirLowestBitCleared)
{
    FillTexts(store);
    auto bytes = Serialized();
    PutLe32(bytes, EntryAt(ProfileImage::SlotOf(0, 300)) + EntryValueOffset, 13);
    TextTable texts;
    ProfileImage image;
    ASSERT_TRUE(ParseImage(bytes, image, texts));
    EXPECT_EQ(texts.Text(ProfileImage::SlotOf(0, 300)), u"ab");
}

// Each broken file is refused and the working store stays exactly as it was.
TEST_F(ImageFile, BrokenFilesAreRefusedAndLeaveTheStoreAsItWas)
{
    FillTexts(store);
    ASSERT_TRUE(store.Image().SetMacroRecords(Bytes(MacroRecordSize, 0x11), 1));
    const Bytes good = Serialized();
    const uint32_t textBytes = 48;
    const size_t textArea = 32832 + 32512;
    ASSERT_EQ(good.size(), textArea + textBytes);

    struct Case {
        const char* what;
        std::function<void(Bytes&)> breakIt;
    };
    const Case cases[] = {
        {"shorter than the fixed part", [](Bytes& b) { b.resize(32831); }},
        {"cut inside the macro records", [](Bytes& b) { b.resize(32832 + 100); }},
        {"cut one byte short of its texts", [](Bytes& b) { b.pop_back(); }},
        {"counts that need more than the file holds",
         [](Bytes& b) {
             PutLe32(b, 16, textBytes + 2);
             PutLe32(b, 8, static_cast<uint32_t>(b.size() + 2));
         }},
        {"a total larger than its counts", [](Bytes& b) { PutLe32(b, 8, static_cast<uint32_t>(b.size() + 1)); }},
        {"a total the counts overflow",
         [](Bytes& b) {
             PutLe32(b, 16, 0xFFFFFFFF);
             PutLe32(b, 8, 32832 + 32512 - 1);  // what the sum wraps to in 32 bits
         }},
        {"a text without its NUL",
         [&](Bytes& b) {
             // The last packed text ends at byte 40 of the area; fill from its
             // terminator to the end of the file.
             std::fill(b.begin() + static_cast<std::ptrdiff_t>(textArea + 38), b.end(), 'x');
         }},
        {"an offset past the text area",
         [](Bytes& b) { PutLe32(b, EntryAt(ProfileImage::SlotOf(0, 3)) + EntryValueOffset, textBytes); }},
        {"an offset far past the file",
         [](Bytes& b) { PutLe32(b, EntryAt(ProfileImage::SlotOf(0, 3)) + EntryValueOffset, 0xFFFFFFF0); }},
        {"a text entry in an image without texts",
         [](Bytes& b) {
             b.resize(textArea);
             PutLe32(b, 16, 0);
             PutLe32(b, 8, static_cast<uint32_t>(b.size()));
         }},
        {"101 macros",
         [](Bytes& b) {
             b.resize(32832 + 101 * 32512, 0);
             for (size_t slot = 0; slot < EntryCount; ++slot)
                 PutLe16(b, EntryAt(slot), 0);
             PutLe16(b, 14, 101);
             PutLe32(b, 16, 0);
             PutLe32(b, 8, static_cast<uint32_t>(b.size()));
         }},
    };

    ProfileStore working;
    EXPECT_TRUE(working.Texts().Set(9, u"keep me"));
    working.Image().SetEntryKind(9, keys::KeyAction::TextBlock);
    ASSERT_TRUE(working.Image().SetMacroRecords(Bytes(MacroRecordSize, 0x22), 1));
    const auto fixedBefore = std::as_const(working.Image()).FixedPart();
    const Bytes fixedCopy(fixedBefore.begin(), fixedBefore.end());

    for (const auto& c : cases) {
        Bytes broken = good;
        c.breakIt(broken);
        broken[31] = ProfileHeader::ComputeChecksum(broken);
        const auto path = dir.Write("broken", ToString(broken));

        ProfileImage image;
        TextTable texts;
        EXPECT_FALSE(ParseImage(broken, image, texts)) << c.what;
        EXPECT_FALSE(ReadImageFile(working, path)) << c.what;

        const auto fixedAfter = std::as_const(working.Image()).FixedPart();
        EXPECT_EQ(Bytes(fixedAfter.begin(), fixedAfter.end()), fixedCopy) << c.what;
        EXPECT_EQ(working.Image().MacroCount(), 1) << c.what;
        EXPECT_EQ(working.Image().MacroRecords()[0], 0x22) << c.what;
        EXPECT_EQ(working.Texts().Text(9), u"keep me") << c.what;
    }

    // The unbroken file is taken, so the cases above fail for their fault alone.
    ASSERT_TRUE(ReadImageFile(working, dir.Write("good", ToString(good))));
    EXPECT_EQ(working.Image().MacroRecords()[0], 0x11);
    EXPECT_FALSE(working.Texts().HasText(9));
}

TEST_F(ImageFile, MissingFilesAndFoldersAreNotRead)
{
    EXPECT_FALSE(ReadImageFile(store, dir.File("nothing")));
    EXPECT_FALSE(ReadImageFile(store, dir.Path().string()));
    EXPECT_TRUE(store.Image().HasFixedPart());
}

TEST_F(ImageFile, FailedWriteLeavesTheOldFileWholeAndNoTemporaryFile)
{
    const auto path = dir.File("$Profile0");
    FillTexts(store);
    ASSERT_TRUE(WriteImageFile(store, true, path));
    const auto before = test::TempDir::Read(path);

    // Nothing to write: once the old file was truncated before this was known.
    store.ReleaseFixedPart();
    EXPECT_FALSE(WriteImageFile(store, true, path));
    EXPECT_EQ(test::TempDir::Read(path), before);

    // A folder where the file should be cannot be replaced.
    ASSERT_TRUE(MakeDefaultImage(store, 0));
    std::filesystem::create_directory(dir.File("taken"));
    EXPECT_FALSE(WriteImageFile(store, true, dir.File("taken")));
    EXPECT_FALSE(WriteImageFile(store, true, dir.File("no-such-folder/$Profile0")));

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"$Profile0", "taken"}));
}

TEST_F(ImageFile, DefaultImageFileCarriesItsFlags)
{
    const auto path = dir.File("default");
    ASSERT_TRUE(MakeDefaultImage(path, 1));
    const auto bytes = ToBytes(test::TempDir::Read(path));
    ASSERT_EQ(bytes.size(), 32832u);
    EXPECT_EQ(bytes[30], 1);
    EXPECT_EQ(bytes[31], ProfileHeader::ComputeChecksum(bytes));
    EXPECT_FALSE(MakeDefaultImage(dir.File("no-such-folder/default"), 0));
}

}  // namespace
}  // namespace trevolin::profiles
