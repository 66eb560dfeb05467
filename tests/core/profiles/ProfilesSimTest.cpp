// Apply, restore and switching against the simulated keyboard: the real
// device link, replies on the library's own thread, the keyboard's memory
// checked directly.
#include "ProfilesTestSupport.h"

#include "core/keys/KeyMapBlock.h"
#include "core/macros/MacroPayload.h"
#include "core/profiles/ImageFile.h"
#include "core/profiles/StoreMacroLookups.h"
#include "transport/sim/SimKeyboardControl.h"

#include <gtest/gtest.h>

#include <set>

namespace trevolin::profiles::test {
namespace {

using keys::KeyAction;
using sim::SimKeyboardControl;

class ProfilesSimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kb.ok()) << kb.error();
        auto loaded = device::LoadHidLibrary(device::SimulatedHidLibrary);
        ASSERT_EQ(loaded.error, device::LoadError::None) << loaded.detail;
        library = loaded.library;
        ASSERT_EQ(library.Init(0), 1);
        ASSERT_EQ(kb.QlSimReset(), 1);
        ASSERT_TRUE(kb.waitIdle());
        session = std::make_unique<device::DeviceSession>(library, window, workers, platform::SteadyClock::Instance());
        ASSERT_TRUE(session->Start(true));
        workers.JoinAll();
        ASSERT_EQ(session->DeviceCount(), 1u);
        profiles = std::make_unique<KeyboardProfiles>(store, *session, folder, texts, prompts);
        ASSERT_EQ(profiles->LoadFromKeyboard(false).source, LoadReport::Source::Keyboard);
        kb.QlSimLogClear();
    }

    void TearDown() override
    {
        Settle();
        profiles.reset();
        session.reset();
        workers.JoinAll();
    }

    void Settle()
    {
        ASSERT_TRUE(kb.waitIdle());
        workers.JoinAll();
    }

    std::array<uint8_t, 512> KeyboardBlock(int profile)
    {
        std::array<uint8_t, 512> block{};
        EXPECT_EQ(kb.QlSimReadArea(QL_SIM_AREA_KEYMAPS, uint32_t(profile) * 512, block.data(), 512), 1);
        return block;
    }

    // The block a layer of `source` becomes on this keyboard.
    keys::KeyMapBlock BlockOf(ProfileStore& source, size_t layer)
    {
        keys::KeyBlock actions{};
        for (size_t e = 0; e < actions.size(); ++e)
            actions[e] = EntryOf(source, layer, e);
        const auto defaultMap = session->FactoryKeymap();
        return keys::EncodeKeyMapBlock(actions, defaultMap, MacroPositionLookupOf(source));
    }

    std::vector<macros::Macro> KeyboardMacros()
    {
        std::vector<uint8_t> area(size_t(kb.QlSimAreaSize(QL_SIM_AREA_MACRO)));
        EXPECT_EQ(kb.QlSimReadArea(QL_SIM_AREA_MACRO, 0, area.data(), uint32_t(area.size())), 1);
        std::vector<uint8_t> records(100 * macros::Macro::Size);
        const int count = macros::DecodeMacroPayload(area, records, texts);
        EXPECT_GE(count, 0);
        std::vector<macros::Macro> out;
        for (int i = 0; i < count; ++i)
            out.push_back(
                macros::Macro::Read(std::span<const uint8_t>(records).subspan(size_t(i) * macros::Macro::Size)));
        return out;
    }

    // Commands 8 that reached the keyboard, by block.
    std::set<int> BlocksWritten()
    {
        std::set<int> blocks;
        for (int i = 0; i < kb.QlSimLogCount(); ++i) {
            uint8_t report[64];
            EXPECT_EQ(kb.QlSimLogGet(uint32_t(i), report), 1);
            if (report[3] == 8)
                blocks.insert((report[5] | report[6] << 8) / 512);
        }
        return blocks;
    }

    std::string Serialized(ProfileStore& s)
    {
        std::string bytes;
        EXPECT_TRUE(SerializeImage(s, bytes));
        return bytes;
    }

    std::string ProfileFile() const { return folder.path + "/$Profile0"; }

    SimKeyboardControl& kb = SimKeyboardControl::instance();
    TempDir dir;
    UserFolder folder{dir.File("user"), dir.File("template.userd")};
    device::HidLibrary library;
    trevolin::test::RecordingMainWindow window;
    platform::ThreadTaskRunner workers;
    std::unique_ptr<device::DeviceSession> session;
    ProfileStore store;
    MapTextLookup texts = ProfileTexts();
    RecordingPrompts prompts;
    std::unique_ptr<KeyboardProfiles> profiles;
};

size_t SlotOf(size_t layer, size_t entry)
{
    return ProfileImage::SlotOf(layer, entry);
}

// An exchange file with a different key in each profile, and optionally
// macros (one of them on a key) and a program path: as a backup writes it.
std::string MakeExchangeFile(TempDir& dir, ProfileStore& source, bool withMacros)
{
    for (size_t layer = 0; layer < 3; ++layer)
        SetEntry(source, layer, MappedKeyNumber(17 + layer), KeyAction{KeyAction::Key, 0, uint32_t(0x1E + layer)});
    if (withMacros) {
        std::vector<macros::Macro> list{MakeMacro(3, u"copy", 4), MakeMacro(9, u"paste", 6)};
        EXPECT_TRUE(CommitMacroList(source, list).committed);
        SetEntry(source, 2, MappedKeyNumber(9), KeyAction{KeyAction::Macro, 1, 9});
        SetEntry(source, 1, MappedKeyNumber(10), KeyAction{KeyAction::LaunchProgram, 0, 0});
        std::lock_guard guard(source.Lock());
        EXPECT_TRUE(source.Texts().Set(SlotOf(1, MappedKeyNumber(10)), u"/usr/bin/true"));
    }
    const std::string path = dir.File(withMacros ? "full.tvl" : "bare.tvl");
    EXPECT_TRUE(WriteImageFile(source, true, path));
    return path;
}

TEST_F(ProfilesSimTest, RestoreMakesTheKeyboardHoldAllThreeProfiles)
{
    for (const bool withMacros : {false, true}) {
        SCOPED_TRACE(withMacros ? "with macros and a text" : "exactly the fixed part");
        ProfileStore source;
        const std::string path = MakeExchangeFile(dir, source, withMacros);
        if (!withMacros) {
            ASSERT_EQ(TempDir::Read(path).size(), FixedPartSize);
        }
        profiles->SetChangesPending(true);

        RestoreReport report;
        ASSERT_TRUE(profiles->Restore(path, &report)) << report.problem;
        EXPECT_TRUE(prompts.entries.empty());
        EXPECT_FALSE(profiles->ChangesPending());
        EXPECT_TRUE(report.saved);
        for (int p = 0; p < 3; ++p)
            EXPECT_EQ(KeyboardBlock(p), BlockOf(source, size_t(p))) << p;
        const auto macrosOnKeyboard = KeyboardMacros();
        ASSERT_EQ(macrosOnKeyboard.size(), withMacros ? 2u : 0u);
        if (withMacros) {
            EXPECT_EQ(macrosOnKeyboard[1].name, u"paste");
        }
        EXPECT_EQ(Serialized(store), TempDir::Read(path));
        EXPECT_EQ(TempDir::Read(ProfileFile()), TempDir::Read(path));
        std::lock_guard guard(store.Lock());
        EXPECT_EQ(store.Texts().Text(SlotOf(1, MappedKeyNumber(10))), withMacros ? u"/usr/bin/true" : u"");
    }
}

TEST_F(ProfilesSimTest, ApplyWritesTheActiveProfileAndAllProfilesWhenAsked)
{
    ASSERT_TRUE(profiles->SelectProfile(2));
    uint8_t info[44];
    ASSERT_EQ(kb.QlSimReadArea(QL_SIM_AREA_INFO, 0, info, 44), 1);
    ASSERT_EQ(info[10], 2);
    const auto block1Before = KeyboardBlock(1);
    SetEntry(store, 1, MappedKeyNumber(17), KeyAction{KeyAction::Key, 0, 0x1F});
    SetEntry(store, 2, MappedKeyNumber(17), KeyAction{KeyAction::Key, 0, 0x20});
    profiles->SetChangesPending(true);
    kb.QlSimLogClear();

    ASSERT_TRUE(profiles->ApplyChanges());
    EXPECT_EQ(BlocksWritten(), (std::set<int>{2}));
    EXPECT_EQ(KeyboardBlock(2), BlockOf(store, 2));
    EXPECT_EQ(KeyboardBlock(1), block1Before);  // profile 1's change has not reached it

    kb.QlSimLogClear();
    ASSERT_TRUE(profiles->Apply(WriteScope::AllProfiles));
    EXPECT_EQ(BlocksWritten(), (std::set<int>{0, 1, 2}));
    EXPECT_EQ(KeyboardBlock(1), BlockOf(store, 1));
    EXPECT_EQ(TempDir::Read(ProfileFile()), Serialized(store));
}

// The keyboard refusing everything, or leaving the bus after a few
// reports: the operation says so, the changes stay pending, the store keeps
// what it was given and the profile file its last good content.
struct Fault {
    const char* name;
    std::function<void(SimKeyboardControl&)> arm;
};
const std::vector<Fault>& Faults()
{
    static const std::vector<Fault> faults = {
        {"refuses with 0xFF", [](SimKeyboardControl& k) { ASSERT_EQ(k.QlSimFailStatus(0xFF, 100000), 1); }},
        {"leaves the bus", [](SimKeyboardControl& k) { ASSERT_EQ(k.QlSimLeaveBusAfter(4), 1); }},
    };
    return faults;
}

TEST_F(ProfilesSimTest, ApplyToAFailingKeyboardKeepsEverything)
{
    for (const Fault& fault : Faults()) {
        SCOPED_TRACE(fault.name);
        ASSERT_EQ(kb.QlSimReset(), 1);
        Settle();
        ASSERT_EQ(profiles->LoadFromKeyboard(false).source, LoadReport::Source::Keyboard);
        const std::string fileBefore = TempDir::Read(ProfileFile());
        SetEntry(store, 0, MappedKeyNumber(17), KeyAction{KeyAction::Key, 0, 0x1F});
        profiles->SetChangesPending(true);
        const std::string storeBefore = Serialized(store);
        const auto keyboardBefore = KeyboardBlock(0);

        fault.arm(kb);
        ApplyReport report;
        EXPECT_FALSE(profiles->Apply(WriteScope::AllProfiles, &report));
        Settle();
        EXPECT_FALSE(report.write.ok);
        EXPECT_NE(report.write.deviceResult, 1);
        EXPECT_FALSE(report.write.problem.empty());
        EXPECT_TRUE(profiles->ChangesPending());
        EXPECT_EQ(Serialized(store), storeBefore);
        EXPECT_EQ(TempDir::Read(ProfileFile()), fileBefore);
        if (std::string(fault.name) == "refuses with 0xFF") {
            EXPECT_EQ(report.write.deviceResult, -102);
            EXPECT_EQ(KeyboardBlock(0), keyboardBefore);
        }
    }
}

TEST_F(ProfilesSimTest, RestoreToAFailingKeyboardSaysSoAndKeepsTheFileForApply)
{
    ProfileStore source;
    const std::string path = MakeExchangeFile(dir, source, true);
    for (const Fault& fault : Faults()) {
        SCOPED_TRACE(fault.name);
        ASSERT_EQ(kb.QlSimReset(), 1);
        Settle();
        ASSERT_EQ(profiles->LoadFromKeyboard(false).source, LoadReport::Source::Keyboard);
        const std::string fileBefore = TempDir::Read(ProfileFile());
        prompts.entries.clear();

        fault.arm(kb);
        RestoreReport report;
        EXPECT_FALSE(profiles->Restore(path, &report));
        Settle();
        EXPECT_TRUE(report.storeReplaced);
        EXPECT_FALSE(report.write.ok);
        EXPECT_FALSE(report.problem.empty());
        EXPECT_EQ(prompts.Keys(), std::vector<std::string>{"MAIN_PROMPT_INPORT"});
        EXPECT_TRUE(profiles->ChangesPending());
        EXPECT_EQ(Serialized(store), TempDir::Read(path));
        EXPECT_EQ(TempDir::Read(ProfileFile()), fileBefore);
    }
    // Back on the bus, Apply sends what the file held.
    ASSERT_EQ(kb.QlSimReset(), 1);
    Settle();
    ASSERT_TRUE(profiles->Apply(WriteScope::AllProfiles));
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(KeyboardBlock(p), BlockOf(source, size_t(p))) << p;
}

}  // namespace
}  // namespace trevolin::profiles::test
