// Writing the store to the keyboard, against the scripted library where the
// exact reports matter.
#include "ProfilesTestSupport.h"

#include "core/keys/KeyMapBlock.h"
#include "core/macros/MacroPayload.h"
#include "core/profiles/ImageFile.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>

namespace trevolin::profiles::test {
namespace {

using keys::KeyAction;
using Reply = FakeHidLibrary::Reply;
using Style = base::Prompts::Style;

// The block the keyboard should get for a layer of the store, with the
// macro positions the store's list gives.
keys::KeyMapBlock ExpectedBlock(ProfileStore& store, size_t layer, const keys::MacroPositionLookup& positions)
{
    keys::KeyBlock actions{};
    for (size_t e = 0; e < actions.size(); ++e)
        actions[e] = EntryOf(store, layer, e);
    return keys::EncodeKeyMapBlock(actions, device::BuiltInFactoryKeymap(), positions);
}

std::string Bytes(const std::string& file)
{
    return TempDir::Read(file);
}

void PutMacros(ProfileStore& store, std::vector<macros::Macro> list)
{
    ASSERT_TRUE(CommitMacroList(store, list).committed);
}

// The macro area the keyboard holds, decoded.
std::vector<macros::Macro> KeyboardMacros(const FakeKeyboard& keyboard)
{
    std::vector<uint8_t> records(100 * macros::Macro::Size);
    const MapTextLookup texts = ProfileTexts();
    const int count = macros::DecodeMacroPayload(keyboard.macroArea, records, texts);
    std::vector<macros::Macro> out;
    for (int i = 0; i < count; ++i)
        out.push_back(macros::Macro::Read(std::span<const uint8_t>(records).subspan(size_t(i) * macros::Macro::Size)));
    return out;
}

// The keyboard has arrived and the store was loaded from it, so the
// profile file exists and mirrors the keyboard.
struct LoadedRig : FakeRig {
    explicit LoadedRig(FakeKeyboard memory = FakeKeyboard()) : FakeRig(std::move(memory))
    {
        profiles->LoadFromKeyboard(false);
        fake.written.clear();
    }
};

TEST(KeyboardWriteTest, ApplySendsTheMacroAreaAndOnlyTheActiveProfilesBlock)
{
    LoadedRig rig;  // profile 1 is active
    PutMacros(rig.store, {MakeMacro(7, u"first", 4), MakeMacro(5, u"second", 2)});
    const size_t key = MappedKeyNumber(17);
    SetEntry(rig.store, 1, key, KeyAction{KeyAction::Macro, 1, 5});
    SetEntry(rig.store, 2, key, KeyAction{KeyAction::Key, 0, 0x1E});
    rig.profiles->SetChangesPending(true);
    const auto payloadSize = macros::MacroPayloadSizes(rig.store.Image().MacroRecords()).fullSize;

    ApplyReport report;
    EXPECT_TRUE(rig.profiles->Apply(WriteScope::ActiveProfile, &report));

    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"1", "10 0+" + std::to_string(payloadSize), "8 512+512", "2"}));
    // Macro id 5 is the list's second macro: the key plays position 1.
    const auto block = ExpectedBlock(rig.store, 1, [](uint16_t id) { return id == 5 ? 1u : 0u; });
    EXPECT_NE(block, ExpectedBlock(rig.store, 1, [](uint16_t) { return 0u; }));
    EXPECT_EQ(rig.keyboard.KeyMapBlock(1), block);
    EXPECT_EQ(rig.keyboard.KeyMapBlock(2), rig.keyboard.defaultKeymap);
    const auto onKeyboard = KeyboardMacros(rig.keyboard);
    ASSERT_EQ(onKeyboard.size(), 2u);
    EXPECT_EQ(onKeyboard[1].name, u"second");

    EXPECT_TRUE(report.saved);
    EXPECT_FALSE(rig.profiles->ChangesPending());
    std::string stored;
    ASSERT_TRUE(SerializeImage(rig.store, stored));
    EXPECT_EQ(Bytes(rig.ProfileFile()), stored);
    EXPECT_TRUE(rig.prompts.entries.empty());
}

// The window edits on its own thread while the keyboard thread writes: the
// store lock is free during the keyboard's input and output, the keyboard
// gets the snapshot taken before, and the later edit stays pending.
TEST(KeyboardWriteTest, AnEditDuringTheWriteIsNotBlockedAndStaysPending)
{
    LoadedRig rig;  // profile 1 is active
    const size_t key = MappedKeyNumber(17);
    SetEntry(rig.store, 1, key, KeyAction{KeyAction::Key, 0, 0x1E});
    rig.profiles->SetChangesPending(true);
    const auto expected = ExpectedBlock(rig.store, 1, [](uint16_t) { return 0u; });
    bool editedDuringWrite = false;
    rig.fake.answer = [&](const device::DeviceReport& request, device::DeviceReport& reply) {
        if (request.Command() == 8 && !editedDuringWrite) {
            editedDuringWrite = std::async(std::launch::async, [&] {
                                    std::unique_lock lock(rig.store.Lock(), std::try_to_lock);
                                    if (!lock.owns_lock())
                                        return false;
                                    SetEntry(rig.store, 1, key, KeyAction{KeyAction::Key, 0, 0x1F});
                                    rig.profiles->SetChangesPending(true);
                                    return true;
                                }).get();
        }
        rig.keyboard.Answer(request, reply);
    };

    ApplyReport report;
    EXPECT_TRUE(rig.profiles->Apply(WriteScope::ActiveProfile, &report));
    EXPECT_TRUE(editedDuringWrite);
    EXPECT_EQ(rig.keyboard.KeyMapBlock(1), expected);
    EXPECT_TRUE(rig.profiles->ChangesPending());
}

TEST(KeyboardWriteTest, AllProfilesSendsTheThreeBlocksInOrder)
{
    LoadedRig rig;
    const size_t key = MappedKeyNumber(18);
    SetEntry(rig.store, 2, key, KeyAction{KeyAction::Key, 0, 0x1E});

    KeyboardWriteReport report;
    EXPECT_TRUE(rig.profiles->WriteToKeyboard(true, &report));
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"1", "10 0+16", "8 0+512", "8 512+512", "8 1024+512", "2"}));
    EXPECT_EQ(report.profilesWritten, (std::vector<int>{0, 1, 2}));
    const auto block = ExpectedBlock(rig.store, 2, [](uint16_t) { return 0u; });
    EXPECT_NE(block, rig.keyboard.defaultKeymap);
    EXPECT_EQ(rig.keyboard.KeyMapBlock(2), block);
}

// The macro area against the keyboard's capacity: refused when even the
// bare payload does not fit (nothing is sent), sent without names and
// said so after the writes when only that fits, sent whole otherwise.
// A keyboard that reports no macro capacity cannot be read whole: nothing
// is written, not even an empty list.
TEST(KeyboardWriteTest, NoCapacityReportedRefusesEvenAnEmptyList)
{
    LoadedRig rig(KeyboardWithMacroUnits(0));
    rig.profiles->SetChangesPending(true);
    ApplyReport report;
    EXPECT_FALSE(rig.profiles->Apply(WriteScope::ActiveProfile, &report));
    EXPECT_EQ(report.refused, ApplyReport::Refused::NotLoaded);
    EXPECT_TRUE(rig.fake.written.empty());
    EXPECT_TRUE(rig.profiles->ChangesPending());
}

TEST(KeyboardWriteTest, CapacityDecidesWhatIsSent)
{
    struct Case {
        const char* name;
        uint8_t units;
        std::vector<macros::Macro> list;
        bool ok;
        bool namesIncluded;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {"too long even without names", 1, {MakeMacro(1, u"m", 30)}, false, true, {"EXTRA_MACRO_TOO_LONG"}},
        {"fits only without names",
         1,
         {MakeMacro(1, u"a rather long name", 20)},
         true,
         false,
         {"EXTRA_PROFILE_SPACE_TIGHT"}},
        {"fits with names", 1, {MakeMacro(1, u"short", 20)}, true, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedRig rig(KeyboardWithMacroUnits(c.units));
        PutMacros(rig.store, c.list);
        rig.profiles->SetChangesPending(true);
        const std::string fileBefore = Bytes(rig.ProfileFile());
        const auto sizes = macros::MacroPayloadSizes(rig.store.Image().MacroRecords());
        const uint32_t capacity = c.units * 128u;

        ApplyReport report;
        EXPECT_EQ(rig.profiles->Apply(WriteScope::ActiveProfile, &report), c.ok);
        EXPECT_EQ(rig.prompts.Keys(), c.messages);
        EXPECT_EQ(report.write.capacity, capacity);
        if (!c.ok) {
            ASSERT_GT(sizes.bareSize, capacity);
            EXPECT_EQ(report.write.stop, KeyboardWriteReport::Stop::MacrosTooLong);
            EXPECT_EQ(report.write.excessBytes, sizes.bareSize - capacity);
            EXPECT_EQ(rig.prompts.entries[0].style, Style::TopMost);
            EXPECT_TRUE(rig.fake.written.empty());
            EXPECT_TRUE(rig.profiles->ChangesPending());
            EXPECT_EQ(Bytes(rig.ProfileFile()), fileBefore);
            continue;
        }
        const size_t sent = c.namesIncluded ? sizes.fullSize : sizes.bareSize;
        EXPECT_EQ(report.write.namesIncluded, c.namesIncluded);
        EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"1", "10 0+" + std::to_string(sent), "8 512+512", "2"}));
        const auto onKeyboard = KeyboardMacros(rig.keyboard);
        ASSERT_EQ(onKeyboard.size(), 1u);
        EXPECT_EQ(onKeyboard[0].events, c.list[0].events);
        if (!c.namesIncluded) {
            EXPECT_EQ(onKeyboard[0].name, u"Macro 1");                      // the keyboard has no name for it
            EXPECT_EQ(rig.prompts.entries[0].at, rig.fake.written.size());  // after every write
            EXPECT_EQ(rig.prompts.entries[0].style, Style::TopMost);
            EXPECT_EQ(MacroNameOfId(rig.store, 1), "a rather long name");  // the store keeps it
        } else {
            EXPECT_EQ(onKeyboard[0].name, c.list[0].name);
        }
    }
}

// Any write of the sequence that fails makes the whole write fail, even
// when the last block goes through; the sequence still ends with command 2
// and the changes stay pending with the profile file as it was.
TEST(KeyboardWriteTest, AFailingWriteAnywhereFailsTheSequence)
{
    struct Case {
        const char* name;
        WriteScope scope;
        std::function<void(FakeRig&)> fault;
        int deviceResult;
        std::string failedWrite;
    };
    // Reports before the macro area and before block 0 with an empty macro
    // list: command 1, then one piece of macros.
    const size_t beforeMacros = 1;
    const size_t beforeBlocks = 2;
    const std::vector<Case> cases = {
        {"macro area refused", WriteScope::ActiveProfile, [](FakeRig& r) { r.keyboard.statusOf[10] = 0xFF; }, -102,
         "macro area"},
        {"macro area busy", WriteScope::AllProfiles, [](FakeRig& r) { r.keyboard.statusOf[10] = 0xFE; }, -103,
         "macro area"},
        {"first block's replies dropped", WriteScope::AllProfiles,
         [&](FakeRig& r) {
             r.fake.replies.assign(beforeBlocks, Reply{});
             r.fake.replies.insert(r.fake.replies.end(), 3, Reply{Reply::Drop});
         },
         -2, "key-map block 0"},
        {"macro area answered with another command", WriteScope::ActiveProfile,
         [&](FakeRig& r) {
             r.fake.replies.assign(beforeMacros, Reply{});
             r.fake.replies.insert(r.fake.replies.end(), 3, Reply{Reply::OtherCommand});
         },
         -2, "macro area"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedRig rig;
        SetEntry(rig.store, 1, MappedKeyNumber(19), KeyAction{KeyAction::Key, 0, 0x1F});
        rig.profiles->SetChangesPending(true);
        const std::string fileBefore = Bytes(rig.ProfileFile());
        std::string storeBefore;
        ASSERT_TRUE(SerializeImage(rig.store, storeBefore));
        c.fault(rig);

        ApplyReport report;
        EXPECT_FALSE(rig.profiles->Apply(c.scope, &report));
        EXPECT_FALSE(report.write.ok);
        EXPECT_EQ(report.write.deviceResult, c.deviceResult);
        EXPECT_EQ(report.write.failedWrite, c.failedWrite);
        EXPECT_EQ(report.write.blockResults.back(), 1);  // the last block itself went through
        EXPECT_EQ(rig.Sent().back(), "2");
        EXPECT_FALSE(report.saved);
        EXPECT_TRUE(rig.profiles->ChangesPending());
        EXPECT_EQ(Bytes(rig.ProfileFile()), fileBefore);
        std::string storeAfter;
        ASSERT_TRUE(SerializeImage(rig.store, storeAfter));
        EXPECT_EQ(storeAfter, storeBefore);
        EXPECT_TRUE(rig.prompts.entries.empty());
    }
}

TEST(KeyboardWriteTest, NothingIsSentWhenTheKeyboardCannotSayItsProfile)
{
    FakeRig rig;
    rig.keyboard.statusOf[3] = 0xFF;
    KeyboardWriteReport report;
    EXPECT_FALSE(rig.profiles->WriteToKeyboard(false, &report));
    EXPECT_EQ(report.stop, KeyboardWriteReport::Stop::NoActiveProfile);
    for (const auto& sent : rig.Sent())
        EXPECT_EQ(sent.substr(0, 2), "3 ");
}

TEST(KeyboardWriteTest, ApplyChangesWritesNothingWithoutPendingChanges)
{
    LoadedRig rig;
    ApplyReport report;
    EXPECT_TRUE(rig.profiles->ApplyChanges(&report));
    EXPECT_TRUE(report.skipped);
    EXPECT_TRUE(rig.fake.written.empty());

    rig.profiles->SetChangesPending(true);
    EXPECT_TRUE(rig.profiles->ApplyChanges(&report));
    EXPECT_FALSE(report.skipped);
    EXPECT_EQ(rig.Sent().size(), 4u);
}

}  // namespace
}  // namespace trevolin::profiles::test
