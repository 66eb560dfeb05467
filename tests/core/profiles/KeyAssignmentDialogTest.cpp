// The key assignment dialog's decisions: the page it opens on, what each
// choice does, and the entry Apply writes.
#include "core/profiles/KeyAssignmentDialog.h"

#include "core/keys/KeyAction.h"

#include <gtest/gtest.h>

namespace trevolin::profiles {
namespace {

using keys::KeyAction;
using Model = KeyAssignmentDialogModel;

constexpr uint16_t KeyA = 0x1E;  // the A key's code

Model Open(uint16_t kind, uint32_t value, bool macroOnly = false)
{
    return Model({.keyNumber = 0x1F, .macroOnly = macroOnly, .kind = kind, .value = value});
}

TEST(KeyAssignmentDialog, OpensOnThePageOfTheEntry)
{
    struct Case {
        uint16_t kind;
        uint32_t value;
        Model::Page page;
    };
    const Case cases[] = {
        {KeyAction::Default, 0, Model::Page::Key},  {KeyAction::Key, KeyA, Model::Page::Key},
        {KeyAction::Macro, 7, Model::Page::Macro},  {KeyAction::Media, 3, Model::Page::Media},
        {KeyAction::Function, 5, Model::Page::Function}, {KeyAction::TextBlock, 40, Model::Page::Key},
        {KeyAction::LaunchProgram, 8, Model::Page::Key},
    };
    for (const auto& c : cases) {
        const Model model = Open(c.kind, c.value);
        EXPECT_EQ(model.ShownPage(), c.page) << c.kind;
        EXPECT_FALSE(model.Dirty());
    }
    const Model mouse = Open(KeyAction::Key, 0x162);
    EXPECT_EQ(mouse.KeySource(), Model::Source::Mouse);
    EXPECT_EQ(mouse.MousePosition(), 4);
    EXPECT_EQ(Open(KeyAction::Macro, 7).InitialMacroId(), 7);
    EXPECT_EQ(Open(KeyAction::Media, 3).MediaIndex(), 3);
    // The macro button's dialog shows the macro page whatever the key holds.
    EXPECT_EQ(Open(KeyAction::Media, 3, true).ShownPage(), Model::Page::Macro);
}

TEST(KeyAssignmentDialog, ApplyWritesWhatThePageShows)
{
    const Model::MacroChoice noMacros;
    const Model::MacroChoice macros{.listEmpty = false, .selectedId = 0, .firstId = 5, .playCount = 3};

    // Unchanged default: default again. A captured key: that key.
    Model model = Open(KeyAction::Default, 0);
    EXPECT_EQ(model.ChoiceToApply(noMacros)->kind, KeyAction::Default);
    model.Capture(KeyA);
    EXPECT_TRUE(model.Dirty());
    auto choice = model.ChoiceToApply(noMacros);
    EXPECT_EQ(choice->kind, KeyAction::Key);
    EXPECT_EQ(choice->value, KeyA);

    // The mouse list.
    model.ChooseMouse(1);
    EXPECT_EQ(model.ChoiceToApply(noMacros)->value, 0x172u);

    // Clear: the keyboard's own function.
    model.Clear();
    EXPECT_EQ(model.ShownPage(), Model::Page::Key);
    EXPECT_EQ(model.ChoiceToApply(noMacros)->kind, KeyAction::Default);

    // The macro page: the selected macro, else the first; never id 0; an
    // empty list writes the default.
    EXPECT_TRUE(model.ChoosePage(Model::Page::Macro));
    EXPECT_EQ(model.ChoiceToApply(noMacros)->kind, KeyAction::Default);
    choice = model.ChoiceToApply(macros);
    EXPECT_EQ(choice->kind, KeyAction::Macro);
    EXPECT_EQ(choice->value, 5u);
    EXPECT_EQ(choice->playCount, 3);

    // Media and function pages: the chosen position.
    EXPECT_TRUE(model.ChoosePage(Model::Page::Media));
    model.ChooseMedia(6);
    EXPECT_EQ(model.ChoiceToApply(noMacros)->value, 6u);
    EXPECT_TRUE(model.ChoosePage(Model::Page::Function));
    EXPECT_EQ(model.ChoiceToApply(noMacros)->kind, KeyAction::Function);
    EXPECT_FALSE(model.ChoosePage(Model::Page::Function));  // already there
}

// An entry no page shows (a program to launch, a text) is written only once
// the user chose something: written back as it stood it would lose its text.
TEST(KeyAssignmentDialog, AnEntryNoPageShowsIsLeftUntilAPageIsChosen)
{
    Model model = Open(KeyAction::TextBlock, 40);
    EXPECT_FALSE(model.ChoiceToApply({}).has_value());
    model.Capture(KeyA);
    EXPECT_EQ(model.ChoiceToApply({})->kind, KeyAction::Key);

    Model launch = Open(KeyAction::LaunchProgram, 8);
    EXPECT_TRUE(launch.ChoosePage(Model::Page::Key));
    EXPECT_EQ(launch.ChoiceToApply({})->kind, KeyAction::Default);
}

TEST(KeyAssignmentDialog, TheMacroButtonsDialogOffersTheMacroPageAlone)
{
    Model model = Open(KeyAction::Default, 0, true);
    EXPECT_FALSE(model.ChoosePage(Model::Page::Key));
    EXPECT_FALSE(model.ChoosePage(Model::Page::Media));
    model.Clear();
    EXPECT_EQ(model.ShownPage(), Model::Page::Macro);
}

TEST(KeyAssignmentDialog, OpensBesideTheKeyWhereItFits)
{
    const ScreenRect screen{0, 0, 1920, 1080};
    const int w = 600;
    const int h = 400;
    struct Case {
        const char* name;
        ScreenRect key;
        ScreenPoint expected;
    };
    const Case cases[] = {
        {"right and below", {100, 100, 40, 30}, {140, 130}},
        {"right and above", {100, 900, 40, 30}, {140, 500}},
        {"left and below", {1700, 100, 40, 30}, {1100, 130}},
        {"left and above", {1700, 900, 40, 30}, {1100, 500}},
        {"nowhere: a key the size of the screen", {0, 0, 1920, 1080}, {1320, 680}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceKeyAssignmentDialog(c.key, w, h, screen, false), c.expected) << c.name;
    EXPECT_EQ(PlaceKeyAssignmentDialog({100, 100, 40, 30}, w, h, screen, true), (ScreenPoint{660, 340}));
    // Fitting nowhere, it stays on the screen beside the key: right of it
    // and as low as the screen allows (below it, OK would be off the screen).
    EXPECT_EQ(PlaceKeyAssignmentDialog({243, 394, 34, 34}, 640, 480, {0, 0, 1400, 900}, false), (ScreenPoint{277, 420}));
}

}  // namespace
}  // namespace trevolin::profiles
