#include "SoakRun.h"

#include "SoakMemory.h"

#include "cli/CliApp.h"
#include "core/base/IniFile.h"
#include "core/profiles/ProfileFileCheck.h"
#include "transport/sim/SimKeyboardControl.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <sstream>
#include <utility>

namespace trevolin::soak {

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string err;
    double seconds = 0;
};

Outcome RunCommand(const std::string& userFolder, const Step& step)
{
    std::vector<std::string> args{"--simulate", "--user-folder", userFolder, "--quiet"};
    args.insert(args.end(), step.command.begin(), step.command.end());
    std::ostringstream out, err;
    const auto start = std::chrono::steady_clock::now();
    Outcome outcome;
    outcome.exitCode = cli::RunCli(args, out, err);
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.err = err.str();
    return outcome;
}

// Files the program writes are whole: profile files pass their check, ini
// files read, and no temporary file is left behind.
std::string CheckFiles(const std::string& folder)
{
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        if (!entry.is_regular_file())
            continue;
        const std::string name = entry.path().filename().string();
        const std::string extension = entry.path().extension().string();
        if (name.find(".tmp") != std::string::npos || name.back() == '~')
            return "a half-written file was left: " + name;
        if (extension == ".tvl" || name.rfind("$Profile", 0) == 0) {
            const auto check = profiles::CheckProfileFile(entry.path().string());
            if (check.result != 1)
                return "the profile file " + name + " does not pass its check: " + check.reason;
        }
        if (extension == ".ini" && !base::IniFile::LoadText(entry.path().string()))
            return "the settings file " + name + " cannot be read";
    }
    return {};
}

// What a failure says about a change that reached the keyboard in part.
bool SaysWhatWasWritten(const std::string& err)
{
    return err.find("written") != std::string::npos || err.find("not on the keyboard") != std::string::npos;
}

}  // namespace

std::string Describe(const Step& step)
{
    std::string text = "trevolinctl";
    for (const auto& word : step.command)
        text += " " + (word.find(' ') == std::string::npos ? word : "\"" + word + "\"");
    return text + (step.faults.empty() ? std::string("  (no faults)") : "  faults: " + step.faults);
}

std::vector<Step> MakeSteps(uint64_t seed, size_t count)
{
    std::mt19937_64 random(seed);
    const auto pick = [&random](auto const& list) { return list[random() % std::size(list)]; };
    const auto number = [&random](int low, int high) {
        return std::to_string(low + static_cast<int>(random() % static_cast<uint64_t>(high - low + 1)));
    };
    static const char* const Keys[] = {"A", "B", "F1", "Esc", "Space", "G1", "G9", "NumEnter", "RightShift"};
    static const char* const Actions[] = {"key:B",      "key:LeftCtrl", "mouse:left",  "wheel:up",
                                          "media:mute", "function:3",   "disabled",    "stop-macro",
                                          "default",    "macro:1",      "raw:02-00-04"};
    static const char* const Faults[] = {"status=0xFE:1",   "status=0xFF:1", "drop:1",        "echo:1",
                                         "refuse-writes:1", "leave-after=1", "status=0xFE:3", "late=1300:1"};
    std::vector<Step> steps;
    for (size_t i = 0; i < count; ++i) {
        Step step;
        switch (random() % 12) {
        case 0:
        case 1:
        case 2:
            step.command = {"key", "set", "--profile", number(1, 3), pick(Keys), pick(Actions)};
            break;
        case 3:
            step.command = {"key", "reset", "--profile", number(1, 3)};
            break;
        case 4:
            step.command = {"macro",  "add", "m" + number(1, 9999), "A:down:0", "B:down:" + number(0, 9) + "0",
                            "B:up:0", "A:up"};
            break;
        case 5:
            step.command = random() % 2 ? std::vector<std::string>{"macro", "delete", "1"}
                                        : std::vector<std::string>{"macro", "set", "1", "--repeat", number(1, 255)};
            break;
        case 6:
            step.command = {"macro", "rename", "1", "r" + number(1, 9999)};
            break;
        case 7:
            step.command = {"light", "effect", number(1, 6)};
            break;
        case 8:
            switch (random() % 4) {
            case 0:
                step.command = {"light", "brightness", number(0, 4)};
                break;
            case 1:
                step.command = {"light", "colour", number(0, 255) + "," + number(0, 255) + "," + number(0, 255)};
                break;
            case 2:
                step.command = {"light", "report-rate", number(0, 3)};
                break;
            default:
                step.command = {"light", "preset", number(0, 7)};
            }
            break;
        case 9:
        case 10:
            step.command = {"profile", number(1, 3)};
            break;
        default:
            step.command = {"restore", "base.tvl"};
        }
        // Six steps in ten run under a fault, somewhere in their exchange.
        if (random() % 10 < 6) {
            const std::string fault = pick(Faults);
            step.faults = "ok:" + number(1, 40) + "," + fault;
        }
        steps.push_back(std::move(step));
    }
    return steps;
}

SoakRun::SoakRun(std::string folder, std::ostream* trace) : folder_(std::move(folder)), trace_(trace)
{
}

bool SoakRun::Ready(std::string& problem)
{
    if (!Keyboard().ok()) {
        problem = Keyboard().error();
        return false;
    }
    if (Keyboard().Init(0) <= 0 || !Keyboard().QlSimRunFaults) {
        problem = "the simulated keyboard did not start";
        return false;
    }
    return true;
}

std::vector<Violation> SoakRun::Run(const std::vector<Step>& steps, Tally& tally, bool stopAtFirst)
{
    std::vector<Violation> violations;
    const std::string userFolder = folder_ + "/user";
    std::error_code error;
    fs::remove_all(userFolder, error);
    fs::create_directories(userFolder);
    Keyboard().QlSimReset();
    Keyboard().waitIdle();
    // A backup of the factory state, for the restores to come.
    const Outcome backup = RunCommand(userFolder, {{"backup", userFolder + "/base.tvl"}, ""});
    if (backup.exitCode != 0) {
        violations.push_back({0, "the first backup failed: " + backup.err});
        return violations;
    }
    for (size_t i = 0; i < steps.size(); ++i) {
        Step step = steps[i];
        for (auto& word : step.command)
            if (word == "base.tvl")
                word = userFolder + "/base.tvl";
        ++tally.steps;
        tally.faulted += step.faults.empty() ? 0 : 1;
        const Memory before = Snapshot();
        Keyboard().QlSimRunFaults(step.faults.c_str());
        const Outcome outcome = RunCommand(userFolder, step);
        EndFaults();
        const Memory after = Snapshot();
        // What the command makes of the same state on a keyboard without
        // faults: what was asked.
        Restore(before);
        const Outcome reference = RunCommand(userFolder, {step.command, ""});
        const Memory asked = Snapshot();
        Restore(after);

        if (trace_) {
            const std::string said = outcome.err.substr(0, outcome.err.find('\n'));
            *trace_ << "  step " << i + 1 << ": " << Describe(step) << " -> exit " << outcome.exitCode << " in "
                    << outcome.seconds << " s" << (said.empty() ? "" : ": " + said) << "\n";
        }
        std::string wrong;
        if (outcome.seconds > 30)
            wrong = "the command took " + std::to_string(outcome.seconds) + " s";
        else if (outcome.exitCode == 0 && after != asked)
            wrong = "it said done, but the keyboard holds something else: " + Difference(after, asked);
        else if (outcome.exitCode != 0 && outcome.err.empty())
            wrong = "it failed without saying why (exit code " + std::to_string(outcome.exitCode) + ")";
        else if (outcome.exitCode != 0 && after != before && after != asked && !SaysWhatWasWritten(outcome.err))
            wrong = "part of the change reached the keyboard (" + Difference(after, before) +
                    ") and the message does not say so: " + outcome.err;
        if (wrong.empty())
            wrong = CheckFiles(userFolder);

        CountOutcome(tally, outcome.exitCode == 0, reference.exitCode != 0, after == before || after == asked);
        if (!wrong.empty()) {
            ++tally.violations;
            violations.push_back({i, wrong});
            if (stopAtFirst)
                break;
        }
    }
    return violations;
}

std::vector<Step> SoakRun::Shrink(std::vector<Step> steps)
{
    // The runs that shrink are not traced: only their outcome counts.
    std::ostream* const trace = std::exchange(trace_, nullptr);
    struct PutBack {
        std::ostream*& to;
        std::ostream* trace;
        ~PutBack() { to = trace; }
    } putBack{trace_, trace};
    // Only the steps up to the first violation count.
    Tally tally;
    auto found = Run(steps, tally, true);
    if (found.empty())
        return steps;
    steps.resize(found.front().step + 1);
    // Leave out one earlier step at a time while the last one still fails.
    for (size_t i = steps.size() - 1; i-- > 0;) {
        std::vector<Step> fewer = steps;
        fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(i));
        Tally t;
        found = Run(fewer, t, true);
        if (!found.empty() && found.front().step == fewer.size() - 1)
            steps = std::move(fewer);
    }
    return steps;
}

}  // namespace trevolin::soak
