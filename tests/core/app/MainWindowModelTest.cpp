// The main window's decisions against the simulated keyboard, with the
// keyboard thread running for real and the window's thread played by the
// test, which runs what was posted to it.
#include "SimAppRig.h"

#include "core/app/MainWindowModel.h"
#include "core/device/MainWindowLink.h"
#include "core/base/QuestionGate.h"
#include "core/app/WindowMessages.h"
#include "core/keys/KeyAction.h"
#include "core/profiles/KeyAssignment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <future>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

namespace trevolin::app {
namespace {

class RecordingView final : public MainWindowView {
public:
    void ShowWindow() override { Add("show"); }
    void HideWindow() override { Add("hide"); }
    bool HasTray() const override { return tray; }
    void CreateTray() override { Add("tray"); }
    void SetTrayPicture(int icon) override { Add("tray " + std::to_string(icon)); }
    void SetBusy(bool busy) override { Add(busy ? "busy" : "idle"); }
    void SetApplyEnabled(bool enabled) override { Add(enabled ? "apply on" : "apply off"); }
    void SetKeyboardPresent(bool present) override { Add(present ? "present" : "absent"); }
    void ShowNotice(const std::string& text, Notice kind) override
    {
        Add(std::string(kind == Notice::Reading ? "reading: " : kind == Notice::ReadFailed ? "unreadable: " : "notice: ") + text);
    }
    void SetTrayTip(const std::string& tip) override { Add("tip: " + tip); }
    bool Notify(const std::string& text) override
    {
        Add("notify: " + text);
        return tray;
    }
    void ShowActiveProfile(int profile) override { Add("profile " + std::to_string(profile)); }
    void ShowProfileMenu(const profiles::ProfileMenu& menu) override { Add("menu " + menu.profileName); }
    void ShowKeyBank(bool bankB) override { Add(bankB ? "bank B" : "bank A"); }
    void ShowFlip(bool flipped) override { Add(flipped ? "flipped" : "not flipped"); }
    void ShowReportRate(int rate) override { Add("rate " + std::to_string(rate)); }
    void ShowLighting(const LightingSnapshot& lighting) override
    {
        Add("lighting");
        lastLighting = lighting;
    }
    void OpenKeyAssignment(uint16_t controlId, uint16_t keyNumber, bool macroOnly) override
    {
        Add("assign " + std::to_string(controlId) + " " + std::to_string(keyNumber) + (macroOnly ? " macros" : ""));
    }
    bool CloseChildDialogs() override
    {
        Add("close dialogs");
        return dialogsClose;
    }
    bool StartProgram(const std::string& program, const std::string&) override
    {
        Add("start " + program);
        return programStarts;
    }
    void EndProgram(int exitCode) override { Add("end " + std::to_string(exitCode)); }

    bool Has(const std::string& event) const { return std::find(events.begin(), events.end(), event) != events.end(); }
    size_t CountStarting(const std::string& prefix) const
    {
        return static_cast<size_t>(
            std::count_if(events.begin(), events.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
    }
    // The last event that starts with `prefix`.
    std::string Last(const std::string& prefix) const
    {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->rfind(prefix, 0) == 0)
                return *it;
        return {};
    }

    void Add(std::string event) { events.push_back(std::move(event)); }

    std::vector<std::string> events;
    bool tray = true;
    bool dialogsClose = true;
    bool programStarts = false;
    LightingSnapshot lastLighting;
};

class MainWindowModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.Open([this](const ArrivalLoad& load) { Post([this, load] { model->OnArrivalLoaded(load); }); });
        model =
            std::make_unique<MainWindowModel>(*rig.app, view, rig.prompts, rig.texts, settings, rig.dir.File("Help/"),
                                              [this](std::function<void()> f) { Post(std::move(f)); });
    }

    void TearDown() override
    {
        // The keyboard thread may still hold completions for the model.
        rig.app.reset();
        model.reset();
    }

    void Post(std::function<void()> f)
    {
        std::lock_guard lock(mutex);
        queue.push_back(std::move(f));
    }

    // Plays the window's thread until nothing is left to do anywhere.
    void Settle()
    {
        for (;;) {
            rig.app->Worker().WaitIdle();
            std::deque<std::function<void()>> ready;
            {
                std::lock_guard lock(mutex);
                ready.swap(queue);
            }
            if (ready.empty() && !rig.app->Worker().Busy())
                return;
            for (auto& f : ready)
                f();
        }
    }

    void SetFirmware(uint16_t version)
    {
        const uint8_t bytes[2] = {static_cast<uint8_t>(version), static_cast<uint8_t>(version >> 8)};
        ASSERT_EQ(rig.kb.QlSimWriteArea(QL_SIM_AREA_INFO, 8, bytes, 2), 1);
    }

    test::SimAppRig rig;
    RecordingView view;
    base::SettingsStore settings{rig.dir.File("settings.ini")};
    std::unique_ptr<MainWindowModel> model;
    std::mutex mutex;
    std::deque<std::function<void()>> queue;
};

// Before the keyboard has been read the store holds the default profile:
// a backup is refused and said so, and no file is written.
TEST(MainWindowModelBackupTest, ABackupBeforeTheKeyboardWasReadIsRefused)
{
    test::SimAppRig rig;
    rig.Open({}, false);
    RecordingView view;
    base::SettingsStore settings{rig.dir.File("settings.ini")};
    MainWindowModel model(*rig.app, view, rig.prompts, rig.texts, settings, rig.dir.File("Help/"),
                          [](std::function<void()> f) { f(); });
    ASSERT_EQ(rig.app->Profiles().Origin(), profiles::StoreOrigin::NotFromKeyboard);
    EXPECT_FALSE(model.Backup(rig.dir.File("b.tvl")));
    EXPECT_EQ(rig.prompts.Keys(), (std::vector<std::string>{"MAIN_BACKUP_NOT_READ"}));
    EXPECT_FALSE(std::ifstream(rig.dir.File("b.tvl")).good());
    rig.app.reset();
}

TEST_F(MainWindowModelTest, InitialisationEndsInTheTray)
{
    Settle();
    view.events.clear();
    EXPECT_FALSE(model->InitComplete());

    model->FinishInitialisation();
    EXPECT_TRUE(model->InitComplete());
    EXPECT_EQ(view.events, (std::vector<std::string>{"tray", "menu Profile 1", "hide"}));
}

// Where the desktop has no tray nothing could bring a hidden window back.
TEST_F(MainWindowModelTest, WithoutATrayTheWindowStaysShown)
{
    view.tray = false;
    model->FinishInitialisation();
    // The arrival's load may finish before or after the tray is made.
    Settle();
    EXPECT_FALSE(view.Has("hide"));
    EXPECT_TRUE(view.Has("show"));
    EXPECT_TRUE(view.Has("present"));
    view.events.clear();
    model->OnKeyboardGone();
    EXPECT_EQ(view.events[0], "close dialogs");
    EXPECT_EQ(view.events[1], "absent");
    EXPECT_TRUE(model->OnCommand(command::Cancel));
    EXPECT_FALSE(view.Has("hide"));
    // OK applies and leaves the window where the user can reach it.
    EXPECT_TRUE(model->OnCommand(command::Ok));
    Settle();
    EXPECT_FALSE(view.Has("hide"));
    // The user is told once, not at every start.
    EXPECT_EQ(rig.prompts.Keys(), (std::vector<std::string>{"MAIN_NO_TRAY_PROMPT"}));
    model->FinishInitialisation();
    EXPECT_EQ(rig.prompts.entries.size(), 1u);
}

// Apply runs on the keyboard thread: the busy indicator shows until it has
// finished, other keyboard work is refused meanwhile, and Apply is disabled
// once the keyboard took the change. With nothing pending it still shows
// the indicator and writes nothing.
TEST_F(MainWindowModelTest, ApplyShowsTheBusyIndicatorUntilTheKeyboardThreadHasFinished)
{
    Settle();
    ASSERT_TRUE(rig.app->Profiles().ResetActiveProfileKeys());
    view.events.clear();
    rig.kb.QlSimLogClear();
    ASSERT_TRUE(model->OnCommand(command::Apply));
    EXPECT_EQ(view.events, (std::vector<std::string>{"busy"}));
    EXPECT_FALSE(model->OnCommand(command::Profile2));
    EXPECT_FALSE(model->Backup(rig.dir.File("b.tvl")));
    Settle();
    EXPECT_EQ(view.events, (std::vector<std::string>{"busy", "idle", "apply off"}));
    EXPECT_GT(rig.kb.QlSimLogCount(), 0);

    view.events.clear();
    rig.kb.QlSimLogClear();
    ASSERT_TRUE(model->OnCommand(command::Apply));
    Settle();
    EXPECT_EQ(view.events, (std::vector<std::string>{"busy", "idle", "apply off"}));
    EXPECT_EQ(rig.kb.QlSimLogCount(), 0);
}

// The program ends only after the sequence that runs when the user exits.
TEST_F(MainWindowModelTest, ExitWaitsForTheRunningSequence)
{
    Settle();
    ASSERT_TRUE(rig.app->Profiles().ResetActiveProfileKeys());
    rig.kb.QlSimSetLatency(2);
    view.events.clear();
    ASSERT_TRUE(model->OnCommand(command::Apply));
    model->OnCommand(command::TrayExit);
    EXPECT_FALSE(view.Has("end 0"));
    Settle();
    EXPECT_EQ(view.events, (std::vector<std::string>{"busy", "idle", "apply off", "hide", "close dialogs", "end 0"}));
    EXPECT_FALSE(rig.app->Profiles().ChangesPending());
}

// The keyboard thread asks the window (apply before switching?) and the
// window's thread never gets to the question: a signal or the end of the
// session must still end the program, the question reading No.
TEST_F(MainWindowModelTest, ExitEndsAQuestionTheKeyboardThreadWaitsOn)
{
    Settle();
    base::QuestionGate gate;
    std::mutex unansweredMutex;
    std::vector<std::function<void()>> unanswered;
    std::promise<void> asked;
    rig.prompts.gate = &gate;
    rig.prompts.post = [&](std::function<void()> show) {
        std::lock_guard lock(unansweredMutex);
        unanswered.push_back(std::move(show));
    };
    rig.prompts.onAsk = [&] { asked.set_value(); };
    rig.prompts.answers = {true};
    rig.app->Profiles().SetChangesPending(true);
    ASSERT_TRUE(model->SelectProfile(1));
    asked.get_future().wait();

    model->ExitPath();
    Settle();
    EXPECT_TRUE(rig.prompts.questionsEnded);
    EXPECT_TRUE(view.Has("end 0"));
    // Reached later, the question asks nobody.
    std::lock_guard lock(unansweredMutex);
    for (auto& show : unanswered)
        show();
    EXPECT_EQ(rig.prompts.answers.size(), 1u);
}

// A keyboard that takes no writes: every sequence says so, and the
// controls show what the keyboard holds.
TEST_F(MainWindowModelTest, RefusedWritesAreToldAndTheControlsShowTheKeyboard)
{
    Settle();
    ASSERT_TRUE(model->ChooseReportRate(3));
    Settle();
    ASSERT_EQ(view.Last("rate"), "rate 3");
    rig.prompts.entries.clear();
    ASSERT_EQ(rig.kb.QlSimRefuseWrites(-1), 1);

    ASSERT_TRUE(model->ChooseReportRate(1));
    Settle();
    EXPECT_EQ(view.Last("rate"), "rate 3");
    ASSERT_TRUE(model->SelectProfile(1));
    Settle();
    EXPECT_EQ(view.Last("profile"), "profile 0");
    EXPECT_EQ(view.Last("rate"), "rate 3");  // the lighting stays with the keyboard's profile
    rig.app->Profiles().SetChangesPending(true);
    ASSERT_TRUE(model->ApplyChanges());
    Settle();
    EXPECT_TRUE(rig.app->Profiles().ChangesPending());
    EXPECT_EQ(view.Last("apply"), "apply on");
    EXPECT_EQ(rig.prompts.Keys(),
              (std::vector<std::string>{std::string(message::RateFailed), std::string(message::SwitchFailed),
                                        std::string(message::ApplyFailed)}));
    for (const auto& e : rig.prompts.entries)
        EXPECT_EQ(e.style, base::Prompts::Style::Warning) << e.text;
    EXPECT_NE(rig.prompts.entries[2].text.find("stay pending"), std::string::npos) << rig.prompts.entries[2].text;
    ASSERT_EQ(rig.kb.QlSimRefuseWrites(0), 1);
}

// Each profile has its own report rate; the buttons follow every switch.
TEST_F(MainWindowModelTest, ReportRateFollowsEverySwitch)
{
    Settle();
    ASSERT_TRUE(model->ChooseReportRate(2));
    Settle();
    ASSERT_TRUE(model->SelectProfile(1));
    Settle();
    EXPECT_EQ(view.Last("rate"), "rate 0");
    ASSERT_TRUE(model->SelectProfile(0));
    Settle();
    EXPECT_EQ(view.Last("rate"), "rate 2");
}

// The keyboard resets itself while a sequence runs: the reset is carried
// out after it, not dropped (the next Apply would undo it).
TEST_F(MainWindowModelTest, AKeyboardResetDuringASequenceIsCarriedOutAfterIt)
{
    Settle();
    ASSERT_TRUE(model->SelectProfile(2));
    ASSERT_TRUE(model->Busy());
    model->OnTimer(device::TIMER_KEYBOARD_RESET);
    Settle();
    EXPECT_EQ(view.Last("profile"), "profile 0");
    EXPECT_EQ(rig.app->Session().ActiveProfileCache(), 0);
    EXPECT_FALSE(rig.app->Profiles().ChangesPending());
}

// Ending the program with changes not on the keyboard asks what to do;
// only a choice that keeps nothing unsaved ends it.
TEST_F(MainWindowModelTest, EndingWithChangesNotAppliedAsksFirst)
{
    Settle();
    rig.app->Profiles().SetChangesPending(true);
    rig.prompts.choices = {base::Prompts::Choice::Cancel};
    EXPECT_TRUE(model->OnCommand(command::Exit));
    Settle();
    EXPECT_FALSE(model->Exiting());
    EXPECT_TRUE(rig.app->Profiles().ChangesPending());

    rig.prompts.choices = {base::Prompts::Choice::Apply};
    EXPECT_TRUE(model->OnCommand(command::Close));
    Settle();
    EXPECT_FALSE(rig.app->Profiles().ChangesPending());
    EXPECT_TRUE(view.Has("end 0"));
    EXPECT_EQ(rig.prompts.Keys(), (std::vector<std::string>(2, std::string(message::ExitPending))));
}

// trevolinctl changes the keyboard while the window is open: the window
// reads the keyboard again, and its next Apply keeps the other change.
TEST_F(MainWindowModelTest, AChangeByAnotherProgramIsReadAgainAndKeptByTheNextApply)
{
    Settle();
    profiles::ProfileStore otherStore;
    profiles::KeyboardProfiles other(otherStore, rig.app->Session(),
                                     {rig.dir.File("other"), rig.dir.File("template.userd")}, rig.texts, rig.prompts,
                                     nullptr);
    const auto entryOf = [](profiles::ProfileStore& store, uint16_t keyNumber) {
        return *keys::TryReadKeyAction(store.Image().Entry(0, keyNumber));
    };
    rig.app->Call([&] {
        static_cast<void>(other.LoadFromKeyboard(false));
        ASSERT_TRUE(profiles::StoreKeyAssignment(otherStore, 0, 0x1E, {keys::KeyAction::Key, 0x30, 1}));
        ASSERT_TRUE(other.WriteToKeyboard(false));
    });

    model->OnKeyboardChangedElsewhere();
    Settle();
    EXPECT_EQ(entryOf(rig.app->Store(), 0x1E).value, 0x30u);
    ASSERT_TRUE(profiles::StoreKeyAssignment(rig.app->Store(), 0, 0x1F, {keys::KeyAction::Key, 0x31, 1}));
    rig.app->Profiles().SetChangesPending(true);
    ASSERT_TRUE(model->ApplyChanges());
    Settle();

    rig.app->Call([&] { static_cast<void>(other.LoadFromKeyboard(false)); });
    EXPECT_EQ(entryOf(otherStore, 0x1E).value, 0x30u);
    EXPECT_EQ(entryOf(otherStore, 0x1F).value, 0x31u);
}

// A keyboard being read is not "no keyboard"; one that leaves is told once.
TEST_F(MainWindowModelTest, AKeyboardBeingReadOrLeavingIsSaidSo)
{
    Settle();
    model->FinishInitialisation();
    view.events.clear();
    ASSERT_EQ(rig.kb.QlSimUnplug(), 1);
    rig.app->WaitForPresence();
    model->OnKeyboardGone();
    model->OnKeyboardGone();
    EXPECT_EQ(view.CountStarting("notify: The keyboard was disconnected."), 1u);
    EXPECT_NE(view.Last("notice").find("simulated keyboard is unplugged"), std::string::npos) << view.Last("notice");

    // Found again, and slow to read: the window shows that it reads.
    model->OnArrivalStarted();
    EXPECT_EQ(view.Last("reading"), "reading: Reading the keyboard...");
    EXPECT_EQ(view.Last("tip"), "tip: Reading the keyboard...");
    rig.prompts.entries.clear();
    model->ShowFromTray();
    EXPECT_TRUE(view.Has("show"));
    EXPECT_TRUE(rig.prompts.entries.empty());
}

// A keyboard whose read fails is not shown as if the defaults it did not
// give were its own: its controls stay off, the notice says why, and the
// user may read it again.
TEST_F(MainWindowModelTest, AKeyboardThatCannotBeReadIsSaidSoAndReadAgainOnRequest)
{
    Settle();
    model->FinishInitialisation();
    ASSERT_EQ(rig.kb.QlSimUnplug(), 1);
    ASSERT_TRUE(rig.kb.waitIdle());
    rig.app->WaitForPresence();
    model->OnKeyboardGone();
    ASSERT_EQ(rig.kb.QlSimRefuseWrites(-1), 1);
    view.events.clear();
    ASSERT_EQ(rig.kb.QlSimPlug(), 1);
    ASSERT_TRUE(rig.kb.waitIdle());
    rig.app->WaitForPresence();
    Settle();

    EXPECT_EQ(model->Keyboard(), MainWindowModel::KeyboardState::Unreadable);
    EXPECT_FALSE(view.Has("present"));
    EXPECT_EQ(view.Last("profile"), "profile -1");
    const std::string notice = view.Last("unreadable");
    EXPECT_NE(notice.find("could not read the keyboard: the keyboard did not say which profile is active."),
              std::string::npos)
        << notice;
    EXPECT_EQ(view.Last("tip"), "tip: The keyboard could not be read.");
    // Shown from the tray as it is, not as "no keyboard".
    rig.prompts.entries.clear();
    model->ShowFromTray();
    EXPECT_TRUE(rig.prompts.entries.empty());

    // Still refused: said again.
    view.events.clear();
    ASSERT_TRUE(model->ReadAgain());
    EXPECT_EQ(view.Last("reading"), "reading: Reading the keyboard...");
    Settle();
    EXPECT_EQ(model->Keyboard(), MainWindowModel::KeyboardState::Unreadable);
    EXPECT_FALSE(view.Has("present"));

    ASSERT_EQ(rig.kb.QlSimRefuseWrites(0), 1);
    ASSERT_TRUE(model->ReadAgain());
    Settle();
    EXPECT_EQ(model->Keyboard(), MainWindowModel::KeyboardState::Present);
    EXPECT_EQ(view.Last("present"), "present");
    EXPECT_EQ(view.Last("notice"), "notice: ");
    EXPECT_EQ(view.Last("profile"), "profile 0");
    EXPECT_FALSE(model->ReadAgain());  // nothing left to read again
}

// A lighting change the keyboard refuses: the panel is read back and shows
// what the keyboard holds, and the failure is told, saying whether the
// read-back worked.
TEST_F(MainWindowModelTest, ARefusedLightingChangeIsReadBackAndTold)
{
    Settle();
    LightingPanelModel& lighting = model->Lighting();
    lighting.SetBrightness(1);
    Settle();
    ASSERT_EQ(view.lastLighting.mode.brightness, 1);
    ASSERT_TRUE(rig.prompts.entries.empty());

    // Refused by the keyboard (status 0xFE) and read back: the panel shows
    // the brightness the keyboard kept.
    // Three tries each: the bracket's start, then the write itself.
    ASSERT_EQ(rig.kb.QlSimFailStatus(0xFE, 6), 1);
    lighting.SetBrightness(3);
    Settle();
    EXPECT_EQ(view.lastLighting.mode.brightness, 1);
    EXPECT_EQ(view.lastLighting.panel.brightnessPosition, 1);
    ASSERT_EQ(rig.prompts.Keys(), std::vector<std::string>{std::string(message::LightFailed)});

    // Not even sent, and not to be read back: said so.
    ASSERT_EQ(rig.kb.QlSimRefuseWrites(-1), 1);
    lighting.SetBrightness(2);
    Settle();
    ASSERT_EQ(rig.kb.QlSimRefuseWrites(0), 1);
    ASSERT_EQ(rig.prompts.entries.size(), 2u);
    EXPECT_EQ(rig.prompts.entries[1].key, message::LightUnread);
    EXPECT_NE(rig.prompts.entries[1].text.find("could not send the request"), std::string::npos)
        << rig.prompts.entries[1].text;

    // Taken now: the model and the keyboard agree.
    lighting.SetBrightness(3);
    Settle();
    EXPECT_EQ(view.lastLighting.mode.brightness, 3);
    EXPECT_EQ(rig.prompts.entries.size(), 2u);
}

// The lighting follows a profile switch only once the keyboard has made
// it: a refused switch leaves the lighting view on and its setting as it was.
TEST_F(MainWindowModelTest, ARefusedProfileSwitchLeavesTheLightingAsItWas)
{
    Settle();
    model->Lighting().ToggleLightingView();
    Settle();
    ASSERT_TRUE(view.lastLighting.viewOn);

    ASSERT_EQ(rig.kb.QlSimRefuseWrites(-1), 1);
    ASSERT_TRUE(model->SelectProfile(1));
    Settle();
    ASSERT_EQ(rig.kb.QlSimRefuseWrites(0), 1);
    EXPECT_EQ(view.Last("profile"), "profile 0");
    EXPECT_TRUE(view.lastLighting.viewOn);
    std::ifstream viewFile(rig.dir.File("wskb.ini"));
    const std::string text((std::istreambuf_iterator<char>(viewFile)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("DengCheck=1"), std::string::npos) << text;

    // Made: the view goes off with the switch.
    ASSERT_TRUE(model->SelectProfile(1));
    Settle();
    EXPECT_EQ(view.Last("profile"), "profile 1");
    EXPECT_FALSE(view.lastLighting.viewOn);
}

TEST_F(MainWindowModelTest, ExitStopsWhenAChildDialogStaysOpen)
{
    view.dialogsClose = false;
    model->ExitPath();
    Settle();
    EXPECT_FALSE(view.Has("end 0"));
    EXPECT_FALSE(model->Exiting());
}

// The firmware check on opening: an old version asks for the update,
// Cancel ends the program, OK starts the updater from the Help folder and
// says so when it cannot.
TEST_F(MainWindowModelTest, OldFirmwareAsksForTheUpdate)
{
    Settle();
    SetFirmware(0x0104);
    rig.prompts.answers = {true};
    model->OnOpen();
    Settle();
    EXPECT_TRUE(view.Has("show"));
    EXPECT_TRUE(view.Has("start " + rig.dir.File("Help/") + std::string(FirmwareUpdater)));
    EXPECT_FALSE(view.Has("end 0"));
    EXPECT_EQ(rig.prompts.Keys(),
              (std::vector<std::string>{std::string(FirmwareTooOldKey), std::string(UpdaterMissingKey)}));

    rig.prompts.entries.clear();
    SetFirmware(0x0105);
    model->OnOpen();
    Settle();
    EXPECT_TRUE(rig.prompts.entries.empty());

    // Cancel ends the program, through the exit path.
    view.events.clear();
    SetFirmware(0x0104);
    rig.prompts.answers = {false};
    model->OnOpen();
    Settle();
    ASSERT_EQ(rig.prompts.Keys(), (std::vector<std::string>{std::string(FirmwareTooOldKey)}));
    EXPECT_TRUE(model->Exiting());
    EXPECT_TRUE(view.Has("end 0"));
}

// Without a keyboard there is no version to check: the window says so and
// stays hidden, and the program goes on.
TEST_F(MainWindowModelTest, OpeningWithoutAKeyboardSaysSoAndChecksNothing)
{
    Settle();
    ASSERT_EQ(rig.kb.QlSimUnplug(), 1);
    ASSERT_TRUE(rig.kb.waitIdle());
    rig.app->WaitForPresence();
    view.events.clear();
    model->OnOpen();
    Settle();
    EXPECT_EQ(rig.prompts.Keys(), (std::vector<std::string>{"MAIN_NO_DEVICE_PROMPT"}));
    EXPECT_FALSE(view.Has("show"));
    EXPECT_FALSE(view.Has("end 0"));
}

// The keyboard reset itself: the defaults are applied without a question and
// the keyboard ends on profile 1.
TEST_F(MainWindowModelTest, KeyboardSideResetAppliesTheDefaultsAndSelectsProfile1)
{
    Settle();
    ASSERT_TRUE(model->SelectProfile(2));
    Settle();
    ASSERT_TRUE(view.Has("profile 2"));
    view.events.clear();
    model->OnTimer(device::TIMER_KEYBOARD_RESET);
    Settle();
    EXPECT_TRUE(rig.prompts.entries.empty());
    EXPECT_TRUE(view.Has("rate 0"));
    EXPECT_TRUE(view.Has("profile 0"));
    EXPECT_FALSE(rig.app->Profiles().ChangesPending());
    EXPECT_EQ(rig.app->Session().ActiveProfileCache(), 0);
}

// While the store is being written a key click waits: the dialog opens
// once, for the last key clicked, after the sequence. Reading the keyboard
// again (another program changed it) closes an open dialog first, so that
// its stale copy is never applied.
TEST_F(MainWindowModelTest, AKeyClickWaitsForTheRunningSequenceAndAReadAgainClosesDialogsFirst)
{
    Settle();
    ASSERT_TRUE(model->OnCommand(command::Apply));
    view.events.clear();
    model->OnKeyClicked(1000);  // G1
    model->OnKeyClicked(1001);  // G2
    EXPECT_EQ(view.CountStarting("assign"), 0u);
    Settle();
    EXPECT_EQ(view.CountStarting("assign"), 1u);
    EXPECT_TRUE(view.Has("assign 1001 257"));

    view.events.clear();
    model->OnKeyboardChangedElsewhere();
    ASSERT_FALSE(view.events.empty());
    EXPECT_EQ(view.events.front(), "close dialogs");
    Settle();
    EXPECT_TRUE(view.Has("present"));
}

TEST_F(MainWindowModelTest, KeyClicksOpenTheKeyAssignmentForTheBankShown)
{
    Settle();
    model->OnKeyClicked(1143);  // G9
    ASSERT_EQ(rig.kb.QlSimSendConsumerCode(device::ConsumerBankSwitch), 1);
    ASSERT_TRUE(rig.kb.waitIdle());
    model->OnKeyClicked(1000);  // G1
    model->OnKeyClicked(1174);  // Fn: only the lighting view paints it
    model->OnKeyClicked(4242);
    EXPECT_TRUE(view.Has("assign 1143 264 macros"));
    EXPECT_TRUE(view.Has("assign 1000 265"));
    EXPECT_EQ(std::count_if(view.events.begin(), view.events.end(),
                            [](const std::string& e) { return e.starts_with("assign"); }),
              2);
}

TEST(TrayPicture, FollowsPresenceAndComesBackAfterTheAlternateState)
{
    TrayPicture tray;
    EXPECT_EQ(tray.SetNormal(128), std::nullopt);  // shown already
    EXPECT_EQ(tray.SetNormal(141), 141);
    EXPECT_EQ(tray.ShowTemporary(142), 142);
    EXPECT_EQ(tray.ShowTemporary(142), std::nullopt);
    EXPECT_EQ(tray.RestoreNormal(), 141);
    EXPECT_EQ(tray.SetNormal(128), 128);
    EXPECT_EQ(tray.RestoreNormal(), std::nullopt);
}

}  // namespace
}  // namespace trevolin::app
