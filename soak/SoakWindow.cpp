#include "SoakWindow.h"

#include "SoakMemory.h"

#include "core/app/KeyboardApp.h"
#include "core/app/WindowMessages.h"
#include "core/lighting/LightingFiles.h"
#include "core/profiles/KeyAssignment.h"
#include "support/MapTextLookup.h"
#include "support/RecordingMainWindow.h"
#include "support/RecordingPrompts.h"

#include <filesystem>
#include <random>

namespace trevolin::soak {

namespace {

const uint16_t KeyNumbers[] = {0x1E, 0x20, 0x22, 0x2C, 0x30};

struct Edit {
    uint16_t keyNumber = 0;
    profiles::KeyChoice choice;
    std::string faults;
};

Edit MakeEdit(std::mt19937_64& random)
{
    Edit edit;
    edit.keyNumber = KeyNumbers[random() % std::size(KeyNumbers)];
    switch (random() % 4) {
    case 0:
        edit.choice = {keys::KeyAction::Media, static_cast<uint32_t>(random() % 18), 1};
        break;
    case 1:
        edit.choice = {keys::KeyAction::Function, static_cast<uint32_t>(1 + random() % 11), 1};
        break;
    case 2:
        edit.choice = {keys::KeyAction::Disabled, 0, 1};
        break;
    default:
        edit.choice = {keys::KeyAction::Default, 0, 1};
    }
    // The keyboard does not leave here: the window reads it again when it
    // comes back, which is the arrival's business, not Apply's.
    static const char* const Faults[] = {"status=0xFE:1", "status=0xFF:1",   "drop:1",
                                         "echo:1",        "refuse-writes:1", "status=0xFE:3"};
    if (random() % 10 < 6)
        edit.faults = "ok:" + std::to_string(1 + random() % 30) + "," + Faults[random() % std::size(Faults)];
    return edit;
}

}  // namespace

std::string OpenWindowSide(WindowSide& side, const std::string& folder, const std::string& keyboardLockPath)
{
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder + "/user");
    app::KeyboardAppOptions options{
        .libraryName = device::SimulatedHidLibrary,
        .startedHidden = true,
        .userFolder = {folder + "/user", folder + "/template.userd"},
        .lightingFiles =
            lighting::LightingFiles(folder + "/user/UserDengColor_", folder + "/UserDengColor_", folder + "/wskb.ini"),
        .loadOnArrival = true,
        .arrivalStarted = {},
        .arrivalLoaded = {},
        .pendingChanged = {},
        .keyboardLockPath = keyboardLockPath,
        .beforeKeyboardChange = {},
        .keyButtons = nullptr,
    };
    auto opened = app::KeyboardApp::Open(std::move(options), side.texts, side.prompts, side.window);
    if (!opened.app)
        return "the window's side could not open the keyboard: " + opened.detail;
    side.app = std::move(opened.app);
    side.app->WaitForPresence();
    side.app->Worker().WaitIdle();
    return {};
}

std::vector<Violation> RunWindowSteps(const std::string& folder, uint64_t seed, size_t count, Tally& tally)
{
    std::vector<Violation> violations;
    Keyboard().QlSimReset();
    Keyboard().waitIdle();
    WindowSide side;
    if (const std::string problem = OpenWindowSide(side, folder); !problem.empty()) {
        violations.push_back({0, problem});
        return violations;
    }
    app::KeyboardApp& keyboardApp = *side.app;
    const auto& texts = side.texts;

    std::mt19937_64 random(seed);
    for (size_t i = 0; i < count; ++i) {
        const Edit edit = MakeEdit(random);
        ++tally.steps;
        tally.faulted += edit.faults.empty() ? 0 : 1;
        bool applied = false;
        bool pending = false;
        profiles::ApplyReport report;
        const Memory before = Snapshot();
        keyboardApp.Worker().RunAndWait([&] {
            auto& profiles = keyboardApp.Profiles();
            const int active = keyboardApp.Session().ActiveProfileCache();
            static_cast<void>(
                profiles::StoreKeyAssignment(profiles.Store(), active < 0 ? 0 : active, edit.keyNumber, edit.choice));
            profiles.SetChangesPending(true);
            Keyboard().QlSimRunFaults(edit.faults.c_str());
            applied = profiles.ApplyChanges(&report);
            Keyboard().QlSimRunFaults("");
            pending = profiles.ChangesPending();
        });
        EndFaults();
        const Memory after = Snapshot();
        // The same Apply on the same memory without faults: what was asked.
        Restore(before);
        bool referenceApplied = false;
        keyboardApp.Worker().RunAndWait(
            [&] { referenceApplied = keyboardApp.Profiles().Apply(profiles::WriteScope::ActiveProfile); });
        const Memory asked = Snapshot();
        Restore(after);
        // The program's copy goes on as the keyboard holds it.
        keyboardApp.Worker().RunAndWait([&] {
            if (!applied)
                keyboardApp.Profiles().SetChangesPending(true);
        });

        std::string wrong;
        if (!referenceApplied)
            wrong = "Apply failed on a keyboard without faults";
        else if (applied && after != asked)
            wrong = "Apply said done, but the keyboard holds something else: " + Difference(after, asked);
        else if (applied && pending)
            wrong = "Apply said done and left the changes pending";
        else if (!applied && !pending)
            wrong = "Apply failed and the changes are no longer pending";
        else if (!applied && app::ApplyFailureText(report, texts, folder).empty())
            wrong = "Apply failed and the window would have nothing to tell";

        CountOutcome(tally, applied, false, after == before || after == asked);
        if (!wrong.empty()) {
            ++tally.violations;
            violations.push_back({i, wrong + " (key " + std::to_string(edit.keyNumber) + ", faults " +
                                         (edit.faults.empty() ? std::string("none") : edit.faults) + ")"});
        }
    }
    side.app.reset();
    return violations;
}

}  // namespace trevolin::soak
