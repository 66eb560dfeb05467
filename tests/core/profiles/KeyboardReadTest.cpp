// Reading the keyboard's tables: the exported image and the load on arrival.
#include "ProfilesTestSupport.h"

#include "core/device/Bytes.h"
#include "core/keys/KeyMapBlock.h"
#include "core/macros/MacroPayload.h"
#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileFileCheck.h"
#include "core/profiles/ProfileHeader.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace trevolin::profiles::test {
namespace {

using keys::KeyAction;

std::span<const uint8_t> AsBytes(const std::string& s)
{
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// A macro area as the keyboard would hold it for these macros.
std::vector<uint8_t> MacroArea(std::vector<macros::Macro> list, size_t capacity, bool withNames = true)
{
    ProfileStore store;
    EXPECT_TRUE(CommitMacroList(store, list).committed);
    std::vector<uint8_t> area(capacity, 0);
    const auto sizes = macros::MacroPayloadSizes(store.Image().MacroRecords());
    const size_t size = withNames ? sizes.fullSize : sizes.bareSize;
    EXPECT_TRUE(macros::EncodeMacroPayload(store.Image().MacroRecords(), std::span(area).first(size), withNames));
    return area;
}

// The keyboard's profile 2 plays key 0x1F at the position of the default map's 17.
void ChangeKeyboardKey(FakeKeyboard& keyboard, size_t profile)
{
    keyboard.keymaps[profile * 512 + 17 * 3 + 2] = 0x22;
}

TEST(KeyboardReadTest, ExportBuildsAnImageOfTheKeyboardsTablesWithoutTexts)
{
    FakeRig rig;
    ChangeKeyboardKey(rig.keyboard, 2);
    const std::string path = rig.dir.File("export.tvl");

    KeyboardReadReport report;
    ASSERT_TRUE(rig.profiles->ExportKeyboardToFile(path, &report));
    // The active profile (not cached yet), the three blocks, the macro header.
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"3 0+44", "7 0+512", "7 512+512", "7 1024+512", "9 0+16"}));

    const std::string bytes = TempDir::Read(path);
    ASSERT_EQ(bytes.size(), FixedPartSize);  // no 0x55AA: no macros
    const auto header = ProfileHeader::Read(AsBytes(bytes));
    EXPECT_EQ(header.macroCount, 0);
    EXPECT_EQ(header.stringBytes, 0u);
    EXPECT_EQ(header.totalSize, FixedPartSize);
    EXPECT_EQ(CheckProfileFile(path).result, 1);

    ProfileImage image;
    TextTable texts;
    ASSERT_TRUE(ParseImage(AsBytes(bytes), image, texts));
    EXPECT_EQ(texts.TotalBytes(), 0u);
    for (size_t e = 0; e < EntriesPerLayer; ++e) {
        const auto entry = image.Entry(3, e);
        ASSERT_TRUE(std::all_of(entry.begin(), entry.end(), [](uint8_t b) { return b == 0; })) << e;
    }
    for (size_t layer = 0; layer < 3; ++layer) {
        const auto expected = keys::DecodeKeyMapBlock(rig.keyboard.KeyMapBlock(layer), rig.keyboard.defaultKeymap, 0);
        for (size_t e = 0; e < EntriesPerLayer; ++e)
            ASSERT_EQ(keys::TryReadKeyAction(image.Entry(layer, e)), expected[e]) << layer << " " << e;
    }
    EXPECT_EQ(keys::TryReadKeyAction(image.Entry(2, MappedKeyNumber(17)))->kind, KeyAction::Key);
}

TEST(KeyboardReadTest, ExportTakesTheMacrosTheKeyboardHoldsAndNothingItCannotMean)
{
    const auto good = MacroArea({MakeMacro(1, u"one", 3), MakeMacro(2, u"two", 5)}, 255 * 128);
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> area;
        uint16_t macros;
        bool damaged;
        std::vector<std::string> macroReads;
    };
    const std::string whole = "9 0+" + std::to_string(device::GetLe16(good.data() + 2));
    const std::vector<Case> cases = {
        {"two macros", [&](auto& a) { a = good; }, 2, false, {"9 0+16", whole}},
        {"no magic", [](auto& a) { std::fill(a.begin(), a.end(), 0x11); }, 0, false, {"9 0+16"}},
        {"101 macros",
         [&](auto& a) {
             a = good;
             device::PutLe16(a.data() + 4, 101);
         },
         0,
         true,
         {"9 0+16"}},
        {"total inside the header",
         [&](auto& a) {
             a = good;
             device::PutLe16(a.data() + 2, 8);
         },
         0,
         true,
         {"9 0+16"}},
        {"second record runs past the total",
         [&](auto& a) {
             a = good;
             device::PutLe16(a.data() + 18, 0xFFF0);
         },
         1,
         true,
         {"9 0+16", whole}},
        // The keyboard refuses a read that starts past its area: only what it holds is read.
        {"a total beyond the keyboard's area",
         [&](auto& a) {
             a = good;
             device::PutLe16(a.data() + 2, 0xFFFF);
         },
         2,
         true,
         {"9 0+16", "9 0+32640"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRig rig;
        c.area(rig.keyboard.macroArea);
        const std::string path = rig.dir.File("export.tvl");
        KeyboardReadReport report;
        ASSERT_TRUE(rig.profiles->ExportKeyboardToFile(path, &report));
        EXPECT_EQ(report.macroCount, c.macros);
        EXPECT_EQ(report.macroAreaDamaged, c.damaged);
        const auto sent = rig.Sent();
        EXPECT_EQ(std::vector<std::string>(sent.begin() + 4, sent.end()), c.macroReads);

        ProfileImage image;
        TextTable texts;
        ASSERT_TRUE(ParseImage(AsBytes(TempDir::Read(path)), image, texts));
        ASSERT_EQ(image.MacroCount(), c.macros);
        if (c.macros > 0) {
            const auto first = macros::Macro::Read(image.MacroRecord(0));
            EXPECT_EQ(first.name, u"one");
            EXPECT_EQ(first.id, 1);
            EXPECT_EQ(first.events.size(), 3u);
        }
    }
}

TEST(KeyboardReadTest, AFailedExportLeavesAnOldFileWhole)
{
    for (const uint8_t command : {uint8_t{3}, uint8_t{7}, uint8_t{9}}) {
        SCOPED_TRACE(int(command));
        FakeRig rig;
        rig.keyboard.macroArea = MacroArea({MakeMacro(1, u"one", 3)}, 255 * 128);
        rig.keyboard.statusOf[command] = 0xFF;
        const std::string path = rig.dir.Write("export.tvl", "old content");
        KeyboardReadReport report;
        EXPECT_FALSE(rig.profiles->ExportKeyboardToFile(path, &report));
        EXPECT_EQ(report.deviceResult, command == 3 ? 0 : -102);
        EXPECT_FALSE(report.problem.empty());
        EXPECT_EQ(TempDir::Read(path), "old content");
    }
}

TEST(KeyboardReadTest, ArrivalLoadsTheStoreAndTheProfileFileFromTheKeyboard)
{
    FakeRig rig;
    ChangeKeyboardKey(rig.keyboard, 1);
    rig.keyboard.macroArea = MacroArea({MakeMacro(1, u"one", 3)}, 255 * 128);
    rig.profiles->SetChangesPending(true);

    LoadReport report;
    EXPECT_EQ(rig.profiles->OnProfileSync(&report), 1);
    EXPECT_EQ(rig.session.Commands().CurrentProfile(), 1);
    EXPECT_EQ(report.source, LoadReport::Source::Keyboard);
    EXPECT_TRUE(report.read.fileWritten);
    EXPECT_FALSE(rig.profiles->ChangesPending());
    EXPECT_EQ(EntryOf(rig.store, 1, MappedKeyNumber(17)).kind, KeyAction::Key);
    EXPECT_EQ(MacroNameOfId(rig.store, 1), "one");
    std::string stored;
    ASSERT_TRUE(SerializeImage(rig.store, stored));
    EXPECT_EQ(TempDir::Read(rig.ProfileFile()), stored);

    // After the profile manager's Apply the pending state is kept.
    rig.profiles->SetChangesPending(true);
    rig.profiles->LoadFromKeyboard(true);
    EXPECT_TRUE(rig.profiles->ChangesPending());
}

TEST(KeyboardReadTest, AnUnreadableKeyboardGivesTheDefaultImageAndLeavesTheProfileFile)
{
    FakeRig rig;
    ASSERT_TRUE(EnsureUserFolder(rig.folder));
    const std::string old = rig.dir.Write("user/$Profile0", "last good content");
    SetEntry(rig.store, 0, MappedKeyNumber(17), KeyAction{KeyAction::Key, 0, 0x1E});
    rig.keyboard.statusOf[7] = 0xFF;

    const LoadReport report = rig.profiles->LoadFromKeyboard(false);
    EXPECT_EQ(report.source, LoadReport::Source::Default);
    EXPECT_FALSE(report.read.ok);
    EXPECT_EQ(TempDir::Read(old), "last good content");
    std::lock_guard guard(rig.store.Lock());
    const auto fixed = rig.store.Image().FixedPart();
    const auto expected = ProfileImage::DefaultFixedPart(0);
    EXPECT_TRUE(std::equal(fixed.begin(), fixed.end(), expected.begin(), expected.end()));
    EXPECT_EQ(rig.store.Image().MacroCount(), 0);
}

// A profile file that cannot be written must not make the store forget
// what the keyboard holds: the next Apply would overwrite the keyboard's
// tables with the default ones.
TEST(KeyboardReadTest, AProfileFileThatCannotBeWrittenStillLoadsTheKeyboard)
{
    FakeRig rig;
    ChangeKeyboardKey(rig.keyboard, 0);
    ASSERT_TRUE(EnsureUserFolder(rig.folder));
    std::filesystem::create_directory(rig.ProfileFile());  // in the way of the file

    const LoadReport report = rig.profiles->LoadFromKeyboard(false);
    EXPECT_TRUE(report.read.ok);
    EXPECT_FALSE(report.read.fileWritten);
    EXPECT_FALSE(report.read.problem.empty());
    EXPECT_EQ(report.source, LoadReport::Source::Keyboard);
    EXPECT_EQ(EntryOf(rig.store, 0, MappedKeyNumber(17)).kind, KeyAction::Key);
    EXPECT_TRUE(std::filesystem::is_directory(rig.ProfileFile()));
}

// A header that declares more than a small keyboard's area holds: every
// command still loads the key tables and the macros before the damage, so
// the next write can repair the area.
TEST(KeyboardReadTest, AMacroAreaDeclaringMoreThanTheKeyboardHoldsKeepsTheMacrosBeforeTheDamage)
{
    FakeRig rig(KeyboardWithMacroUnits(1));  // 128 bytes
    ChangeKeyboardKey(rig.keyboard, 1);
    auto area = MacroArea({MakeMacro(1, u"one", 3), MakeMacro(2, u"two", 40)}, 1024);
    area.resize(128);  // the second macro's record lies past the area
    rig.keyboard.macroArea = area;

    const LoadReport report = rig.profiles->LoadFromKeyboard(false);
    EXPECT_EQ(report.source, LoadReport::Source::Keyboard) << report.read.problem;
    EXPECT_TRUE(report.read.macroAreaDamaged);
    EXPECT_EQ(report.read.macroCount, 1);
    EXPECT_EQ(EntryOf(rig.store, 1, MappedKeyNumber(17)).kind, KeyAction::Key);
    EXPECT_EQ(MacroNameOfId(rig.store, 1), "one");
    EXPECT_EQ(MacroNameOfId(rig.store, 2), "");
}

// A keyboard too small for the names keeps the macros without them; the
// profile file this computer wrote at the last Apply still has them.
TEST(KeyboardReadTest, NamesTheKeyboardCouldNotKeepComeBackFromTheProfileFile)
{
    FakeRig rig;
    // The last Apply happened after a deletion: the store's ids were 2, 3 and
    // 4, the keyboard numbers the macros 1, 2 and 3 by position. The first
    // two play the same events: the position decides, not the stale id.
    std::vector<macros::Macro> applied{MakeMacro(2, u"Copy line", 3), MakeMacro(3, u"Paste", 3),
                                       MakeMacro(4, u"Changed elsewhere", 2)};
    ASSERT_TRUE(CommitMacroList(rig.store, applied).committed);
    ASSERT_TRUE(WriteImageFile(rig.store, true, ProfileFilePath(rig.folder, 0)));
    auto onKeyboard = applied;
    onKeyboard[2].events[0].delayMs = 500;  // another program changed the third macro
    rig.keyboard.macroArea = MacroArea(onKeyboard, 255 * 128, false);

    const LoadReport report = rig.profiles->LoadFromKeyboard(false);
    ASSERT_EQ(report.source, LoadReport::Source::Keyboard);
    EXPECT_FALSE(report.read.macroNamesStored);
    EXPECT_EQ(report.read.namesRecovered, 2);
    EXPECT_EQ(MacroNameOfId(rig.store, 1), "Copy line");
    EXPECT_EQ(MacroNameOfId(rig.store, 2), "Paste");
    EXPECT_EQ(MacroNameOfId(rig.store, 3), "Macro 3");

    // The profile file keeps them for the next start, and an export has them.
    ProfileStore file;
    {
        std::lock_guard guard(file.Lock());
        ASSERT_TRUE(ReadImageFile(file, rig.ProfileFile()));
    }
    EXPECT_EQ(MacroNameOfId(file, 2), "Paste");
    KeyboardReadReport exported;
    const std::string path = rig.dir.File("export.tvl");
    ASSERT_TRUE(rig.profiles->ExportKeyboardToFile(path, &exported));
    EXPECT_EQ(exported.namesRecovered, 2);
    ProfileStore exchange;
    {
        std::lock_guard guard(exchange.Lock());
        ASSERT_TRUE(ReadImageFile(exchange, path));
    }
    EXPECT_EQ(MacroNameOfId(exchange, 1), "Copy line");

    // Names the keyboard does keep are its own.
    rig.keyboard.macroArea = MacroArea({MakeMacro(1, u"kept", 3)}, 255 * 128, true);
    const LoadReport named = rig.profiles->LoadFromKeyboard(false);
    EXPECT_TRUE(named.read.macroNamesStored);
    EXPECT_EQ(named.read.namesRecovered, 0);
    EXPECT_EQ(MacroNameOfId(rig.store, 1), "kept");
}

// Apply writes only over what it read: never the default image over the
// keyboard's assignments, and a damaged macro area only when the user says so.
size_t KeyTableWrites(const FakeRig& rig)
{
    size_t n = 0;
    for (const auto& report : rig.fake.written)
        n += report.Command() == 8 || report.Command() == 10;
    return n;
}

TEST(ApplyOrigin, TheDefaultImageIsNeverWrittenOverTheKeyboard)
{
    FakeRig rig;
    rig.keyboard.statusOf[7] = 0xFF;  // the key maps cannot be read
    ASSERT_EQ(rig.profiles->LoadFromKeyboard(false).source, LoadReport::Source::Default);
    EXPECT_EQ(rig.profiles->Origin(), StoreOrigin::NotFromKeyboard);
    rig.fake.written.clear();

    ApplyReport report;
    EXPECT_FALSE(rig.profiles->Apply(WriteScope::ActiveProfile, &report));
    EXPECT_EQ(report.refused, ApplyReport::Refused::NotLoaded);
    EXPECT_EQ(KeyTableWrites(rig), 0u);
    EXPECT_EQ(rig.prompts.Keys(), (std::vector<std::string>{std::string(NotLoadedText)}));

    // Yes reads the keyboard again; now it answers, and Apply may write.
    rig.keyboard.statusOf.erase(7);
    rig.prompts.answers.push_back(true);
    EXPECT_FALSE(rig.profiles->Apply(WriteScope::ActiveProfile, &report));
    EXPECT_EQ(rig.profiles->Origin(), StoreOrigin::Keyboard);
    EXPECT_TRUE(rig.profiles->Apply(WriteScope::ActiveProfile, &report));
    EXPECT_GT(KeyTableWrites(rig), 0u);
}

TEST(ApplyOrigin, ADamagedMacroAreaIsReplacedOnlyWithConsent)
{
    FakeRig rig(KeyboardWithMacroUnits(1));
    auto area = MacroArea({MakeMacro(1, u"one", 3), MakeMacro(2, u"two", 40)}, 1024);
    area.resize(128);
    rig.keyboard.macroArea = area;
    ASSERT_TRUE(rig.profiles->LoadFromKeyboard(false).read.macroAreaDamaged);
    EXPECT_EQ(rig.profiles->Origin(), StoreOrigin::DamagedMacros);
    rig.fake.written.clear();

    ApplyReport report;
    EXPECT_FALSE(rig.profiles->Apply(WriteScope::ActiveProfile, &report));  // answered No
    EXPECT_EQ(report.refused, ApplyReport::Refused::DamagedMacros);
    EXPECT_EQ(KeyTableWrites(rig), 0u);

    rig.prompts.answers.push_back(true);
    EXPECT_TRUE(rig.profiles->Apply(WriteScope::ActiveProfile, &report)) << report.write.problem;
    EXPECT_GT(KeyTableWrites(rig), 0u);
    EXPECT_EQ(rig.profiles->Origin(), StoreOrigin::Keyboard);
    EXPECT_EQ(rig.prompts.Keys(),
              (std::vector<std::string>{std::string(DamagedMacrosText), std::string(DamagedMacrosText)}));
}

}  // namespace
}  // namespace trevolin::profiles::test
