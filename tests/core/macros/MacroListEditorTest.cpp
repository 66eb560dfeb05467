#include "core/macros/MacroListEditor.h"
#include "support/ManualClock.h"
#include "support/MapTextLookup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trevolin::macros {
namespace {

using Status = MacroEditResult::Status;

constexpr uint16_t KeyA = 0x1E;
constexpr uint16_t KeyB = 0x30;

Macro Make(uint16_t id, std::u16string name, std::vector<MacroEvent> events = {})
{
    Macro m;
    m.id = id;
    m.name = std::move(name);
    m.events = std::move(events);
    return m;
}

std::vector<Macro> Numbered(size_t count)
{
    std::vector<Macro> list;
    for (size_t i = 0; i < count; ++i)
        list.push_back(Make(static_cast<uint16_t>(i + 1), u"m" + std::u16string(i + 1, u'x')));
    return list;
}

std::vector<uint32_t> Delays(const Macro& m)
{
    std::vector<uint32_t> delays;
    for (const auto& e : m.events)
        delays.push_back(e.delayMs);
    return delays;
}

struct MacroListEditorTest : ::testing::Test {
    test::MapTextLookup texts{{"MACRO_NEW_PREFIX", "Macro "},
                              {"MACRO_ERR_SAME", "Another macro already has this name."},
                              {"MACRO_ERR_MAX", "At most %d macros."},
                              {"MACRO_ACTION_ERR_DELAY_MAX", "At most %d ms."}};
    test::ManualClock clock;

    MacroListEditor Editor(std::vector<Macro> list) { return MacroListEditor(std::move(list), texts, clock); }
};

TEST_F(MacroListEditorTest, OpeningCountsEveryMacroAsStoredAndChangesNothing)
{
    auto list = Numbered(2);
    list[1].isNew = 1;
    const auto editor = Editor(list);
    EXPECT_EQ(editor.Macros()[1].isNew, 0);
    EXPECT_FALSE(editor.Dirty());
    EXPECT_EQ(editor.Selected(), std::nullopt);
}

TEST_F(MacroListEditorTest, AddFollowsTheListRules)
{
    struct Case {
        const char* what;
        std::vector<Macro> list;
        std::u16string name;
        size_t events;
        Status status;
        std::string message;
    };
    const Case cases[] = {
        {"a fresh name", {Make(1, u"Copy")}, u"Paste", 2, Status::Done, ""},
        {"names differing in case are two names", {Make(1, u"Copy")}, u"copy", 2, Status::Done, ""},
        {"a name taken", {Make(1, u"Copy")}, u"Copy", 2, Status::NameTaken, "a macro named \"Copy\" exists already."},
        {"the 101st macro", Numbered(100), u"one more", 2, Status::TooManyMacros, "At most 100 macros."},
        {"an empty name", {}, u"", 2, Status::BadName, "a macro's name has 1 to 249 characters."},
        {"a bare number",
         {},
         u"42",
         2,
         Status::BadName,
         "a macro's name cannot be a bare number, which reads as a macro's id."},
        {"4000 events", {}, u"long", 4000, Status::Done, ""},
        {"4001 events", {}, u"too long", 4001, Status::TooManyEvents, "a macro holds at most 4000 events."},
    };
    for (const auto& c : cases) {
        auto editor = Editor(c.list);
        const auto result = editor.Add(c.name, 3, std::vector<MacroEvent>(c.events, MacroEvent{0, KeyA, 0}));
        EXPECT_EQ(result.status, c.status) << c.what;
        EXPECT_EQ(result.message, c.message) << c.what;
        EXPECT_EQ(editor.Dirty(), c.status == Status::Done) << c.what;
        EXPECT_EQ(editor.Macros().size(), c.list.size() + (c.status == Status::Done ? 1 : 0)) << c.what;
    }
}

TEST_F(MacroListEditorTest, AddedMacroTakesTheSmallestFreeIdAndIsNewUntilCommitted)
{
    auto editor = Editor({Make(1, u"a"), Make(5, u"b"), Make(2, u"c")});
    const auto result = editor.Add(u"d", 7, {{10, KeyA, 0}});
    ASSERT_EQ(result.status, Status::Done);
    EXPECT_EQ(result.position, 3u);
    EXPECT_EQ(editor.Selected(), 3u);
    const Macro& added = editor.Macros()[3];
    EXPECT_EQ(added.id, 3);
    EXPECT_EQ(added.isNew, 1);
    EXPECT_EQ(added.playCount, 7);
    EXPECT_EQ(added.events.size(), 1u);
}

TEST_F(MacroListEditorTest, RenameKeepsNamesUnique)
{
    auto editor = Editor({Make(1, u"Copy"), Make(2, u"Paste")});
    EXPECT_EQ(editor.Rename(1, u"Copy").status, Status::NameTaken);
    EXPECT_EQ(editor.Rename(1, u"a\tb").status, Status::BadName);
    EXPECT_EQ(editor.Rename(2, u"x").status, Status::NoSuchMacro);
    EXPECT_FALSE(editor.Dirty());
    EXPECT_EQ(editor.Rename(0, u"Copy").status, Status::Done);  // its own name
    EXPECT_EQ(editor.Rename(1, u"Cut").status, Status::Done);
    EXPECT_EQ(editor.Macros()[1].name, u"Cut");
    EXPECT_TRUE(editor.Dirty());
}

TEST_F(MacroListEditorTest, AddNewGivesDefaultNamesUpToTheCap)
{
    auto empty = Editor({});
    ASSERT_EQ(empty.AddNew().status, Status::Done);
    EXPECT_EQ(empty.Macros()[0].name, u"Macro 1");
    EXPECT_EQ(empty.Selected(), 0u);

    // The counter passes over taken names, 16 ms apart.
    auto taken = Editor({Make(1, u"Macro 1")});
    ASSERT_EQ(taken.AddNew().status, Status::Done);
    EXPECT_EQ(taken.Macros()[1].name, u"Macro 2");
    EXPECT_EQ(taken.Macros()[1].id, 2);
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{16}));

    auto full = Editor(Numbered(100));
    const auto refused = full.AddNew();
    EXPECT_EQ(refused.status, Status::TooManyMacros);
    EXPECT_EQ(refused.message, "At most 100 macros.");
    EXPECT_EQ(full.Macros().size(), 100u);
    EXPECT_FALSE(full.Dirty());
}

// Checked once the editing ends: a clash leaves the old name and says so.
TEST_F(MacroListEditorTest, NameFieldKeepsTheOldNameWhenTheNewOneClashes)
{
    struct Case {
        const char* what;
        std::u16string typed;
        std::u16string expected;
        Status status;
    };
    const Case cases[] = {
        {"a name of its own", u"Paste", u"Paste", Status::Done},
        {"the beginning of another name is no clash", u"Co", u"Co", Status::Done},
        {"another name in other letter case", u"COPY LINE", u"Mine", Status::NameTaken},
        {"its own old name", u"Mine", u"Mine", Status::Done},
        {"empty", u"", u"Mine", Status::Done},
        {"longer than the record", std::u16string(300, u'z'), std::u16string(249, u'z'), Status::Done},
    };
    for (const auto& c : cases) {
        auto editor = Editor({Make(1, u"Copy line"), Make(2, u"Mine")});
        editor.Select(1);
        const auto result = editor.FinishNameEdit(c.typed);
        EXPECT_EQ(result.status, c.status) << c.what;
        EXPECT_EQ(editor.Macros()[1].name, c.expected) << c.what;
        EXPECT_EQ(editor.Macros()[0].name, u"Copy line") << c.what;
        EXPECT_EQ(editor.Dirty(), c.expected != u"Mine") << c.what;
        if (c.status == Status::NameTaken) {
            EXPECT_EQ(result.message, texts.Text("MACRO_ERR_SAME")) << c.what;
        }
    }
}

TEST_F(MacroListEditorTest, NameFieldWithoutSelectionIsIgnoredAndWithoutMacrosMakesOne)
{
    auto unselected = Editor({Make(1, u"Copy")});
    unselected.FinishNameEdit(u"Other");
    EXPECT_EQ(unselected.Macros()[0].name, u"Copy");
    EXPECT_FALSE(unselected.Dirty());

    for (const std::u16string typed : {u"Paste", u""}) {
        auto empty = Editor({});
        empty.FinishNameEdit(typed);
        ASSERT_EQ(empty.Macros().size(), 1u);
        EXPECT_EQ(empty.Macros()[0].name, typed.empty() ? u"Macro 1" : typed);
        EXPECT_EQ(empty.Macros()[0].id, 1);
        EXPECT_EQ(empty.Selected(), 0u);
    }
}

TEST_F(MacroListEditorTest, DeleteAsksOnlyForStoredMacrosThatKeysPlay)
{
    auto editor = Editor({Make(1, u"a"), Make(2, u"b")});
    ASSERT_EQ(editor.AddNew().status, Status::Done);  // id 3, new
    const auto keysPlay = [](uint16_t id) { return id == 2 || id == 3; };
    EXPECT_FALSE(editor.DeleteNeedsConfirmation(0, keysPlay));  // no key plays it
    EXPECT_TRUE(editor.DeleteNeedsConfirmation(1, keysPlay));
    EXPECT_FALSE(editor.DeleteNeedsConfirmation(2, keysPlay));  // made here: no key can play it yet
    EXPECT_FALSE(editor.DeleteNeedsConfirmation(3, keysPlay));
}

TEST_F(MacroListEditorTest, DeleteSelectsTheMacroBefore)
{
    struct Case {
        size_t deleted;
        size_t count;
        std::optional<size_t> selected;
    };
    const Case cases[] = {{2, 3, 1u}, {0, 3, 0u}, {0, 1, std::nullopt}};
    for (const auto& c : cases) {
        auto editor = Editor(Numbered(c.count));
        EXPECT_TRUE(editor.Delete(c.deleted));
        EXPECT_EQ(editor.Selected(), c.selected) << "deleting " << c.deleted << " of " << c.count;
        EXPECT_EQ(editor.Macros().size(), c.count - 1);
        EXPECT_FALSE(editor.Delete(c.count));
    }
}

TEST_F(MacroListEditorTest, PlayCountIsHeldBetweenOneAnd255)
{
    auto editor = Editor({Make(1, u"a")});
    const std::pair<int64_t, uint8_t> cases[] = {{0, 1},     {-5, 1},    {1, 1},        {200, 200},
                                                 {255, 255}, {256, 255}, {1000000, 255}};
    for (const auto& [typed, kept] : cases) {
        EXPECT_EQ(editor.SetPlayCount(0, typed), kept) << typed;
        EXPECT_EQ(editor.Macros()[0].playCount, kept) << typed;
    }
}

TEST_F(MacroListEditorTest, RecordingAPressAndReleaseKeepsEachPauseAfterItsEvent)
{
    struct Case {
        bool recordDelay;
        std::vector<uint32_t> delays;
    };
    // The press comes 700 ms after the recording starts, the release 120 ms later.
    for (const auto& c : {Case{false, {50, 0}}, Case{true, {120, 0}}}) {
        auto editor = Editor({Make(1, u"a")});
        EventInsert how;
        how.recording = true;
        how.recordDelay = c.recordDelay;
        const auto pressRow = editor.AddEvent(0, {700, KeyA, MacroEvent::Press}, how);
        ASSERT_EQ(pressRow, 0u);
        how.afterRow = pressRow;
        EXPECT_EQ(editor.AddEvent(0, {120, KeyA, MacroEvent::Release}, how), 1u);
        EXPECT_EQ(Delays(editor.Macros()[0]), c.delays) << "record delay " << c.recordDelay;
    }
}

TEST_F(MacroListEditorTest, InsertingAfterARowSwapsTheDelays)
{
    std::vector<MacroEvent> events;
    for (uint32_t d : {10u, 20u, 30u, 40u, 50u})
        events.push_back({d, KeyA, MacroEvent::Press});
    auto editor = Editor({Make(1, u"a", events)});
    EventInsert after2;
    after2.afterRow = 1;  // the second row
    EXPECT_EQ(editor.AddEvent(0, {99, KeyB, 7}, after2), 2u);
    EXPECT_EQ(Delays(editor.Macros()[0]), (std::vector<uint32_t>{10, 99, 20, 30, 40, 50}));
    EXPECT_EQ(editor.Macros()[0].events[2].action, MacroEvent::Press);  // an unknown action is a press

    EventInsert keep;
    keep.keepDelay = true;
    EXPECT_EQ(editor.AddEvent(0, {77, KeyB, MacroEvent::Release}, keep), 6u);
    EXPECT_EQ(editor.Macros()[0].events[6].delayMs, 77u);
    EXPECT_EQ(editor.Macros()[0].events[5].delayMs, 50u);
}

TEST_F(MacroListEditorTest, The4001stEventIsDroppedSilently)
{
    auto editor = Editor({Make(1, u"a", std::vector<MacroEvent>(4000, MacroEvent{0, KeyA, 0}))});
    EXPECT_EQ(editor.AddEvent(0, {0, KeyB, 0}, {}), std::nullopt);
    EXPECT_EQ(editor.Macros()[0].events.size(), 4000u);
    EXPECT_FALSE(editor.Dirty());
}

TEST_F(MacroListEditorTest, MovedRowsKeepTheirDelays)
{
    struct Case {
        size_t row;
        EventMove move;
        size_t to;
        std::vector<uint32_t> delays;
    };
    const Case cases[] = {
        {2, EventMove::Top, 0, {30, 10, 20, 40}},  {2, EventMove::Up, 1, {10, 30, 20, 40}},
        {1, EventMove::Down, 2, {10, 30, 20, 40}}, {1, EventMove::Bottom, 3, {10, 30, 40, 20}},
        {0, EventMove::Up, 0, {10, 20, 30, 40}},   {3, EventMove::Down, 3, {10, 20, 30, 40}},
    };
    for (const auto& c : cases) {
        std::vector<MacroEvent> events;
        for (uint32_t d : {10u, 20u, 30u, 40u})
            events.push_back({d, KeyA, MacroEvent::Press});
        auto editor = Editor({Make(1, u"a", events)});
        EXPECT_EQ(editor.MoveEvent(0, c.row, c.move), c.to) << c.row;
        EXPECT_EQ(Delays(editor.Macros()[0]), c.delays) << c.row;
        EXPECT_EQ(editor.MoveEvent(0, 4, c.move), std::nullopt);
    }
}

TEST_F(MacroListEditorTest, TypedDelaysAreCappedAndKeptInStepsOfTen)
{
    struct Case {
        uint64_t typed;
        uint32_t kept;
        Status status;
        std::string message;
    };
    const Case cases[] = {
        {12345, 12340, Status::Done, ""},
        {9, 0, Status::Done, ""},
        {40000, 40000, Status::Done, ""},
        {40009, 40000, Status::DelayCapped, "At most 40000 ms."},
        {50000, 40000, Status::DelayCapped, "At most 40000 ms."},
        {uint64_t{1} << 40, 40000, Status::DelayCapped, "At most 40000 ms."},
    };
    for (const auto& c : cases) {
        auto editor = Editor({Make(1, u"a", {{5, KeyA, 0}})});
        const auto result = editor.SetEventDelay(0, 0, c.typed);
        EXPECT_EQ(result.status, c.status) << c.typed;
        EXPECT_EQ(result.message, c.message) << c.typed;
        EXPECT_EQ(editor.Macros()[0].events[0].delayMs, c.kept) << c.typed;
    }
    auto editor = Editor({Make(1, u"a")});
    EXPECT_EQ(editor.SetEventDelay(0, 0, 10).status, Status::NoSuchMacro);
}

TEST_F(MacroListEditorTest, KeyAndActionCellsChangeOnlyToADifferentValidChoice)
{
    auto editor = Editor({Make(1, u"a", {{0, KeyA, MacroEvent::Press}})});
    EXPECT_FALSE(editor.SetEventKey(0, 0, 0));    // position 0 is A, already there
    EXPECT_FALSE(editor.SetEventKey(0, 0, 106));  // past the macro key list
    EXPECT_FALSE(editor.SetEventAction(0, 0, MacroEvent::Press));
    EXPECT_FALSE(editor.SetEventAction(0, 0, 2));
    EXPECT_FALSE(editor.Dirty());
    EXPECT_TRUE(editor.SetEventKey(0, 0, 1));
    EXPECT_EQ(editor.Macros()[0].events[0].keyCode, KeyB);
    EXPECT_TRUE(editor.SetEventAction(0, 0, MacroEvent::Release));
    EXPECT_EQ(editor.Macros()[0].events[0].action, MacroEvent::Release);
    EXPECT_TRUE(editor.DeleteEvent(0, 0));
    EXPECT_FALSE(editor.ClearEvents(0));  // nothing left to clear
    EXPECT_TRUE(editor.Dirty());
}

}  // namespace
}  // namespace trevolin::macros
