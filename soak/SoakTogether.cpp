#include "SoakTogether.h"

#include "SoakMemory.h"
#include "SoakWindow.h"

#include "cli/CliApp.h"
#include "core/app/WindowMessages.h"
#include "core/platform/KeyboardLock.h"
#include "core/profiles/KeyAssignment.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace trevolin::soak {

namespace {

using Clock = std::chrono::steady_clock;
// Bytes of the key-map area that one key's action sets, with their values.
using Effect = std::vector<std::pair<size_t, uint8_t>>;

// Each trevolinctl process owns two keys of profile 1, the window two others.
const char* const ProcessKeys[][2] = {{"F1", "F2"}, {"F3", "F4"}, {"F5", "F6"}, {"F7", "F8"}};
const char* const Actions[] = {"key:B", "mouse:left", "media:mute", "disabled", "default", "function:3"};
const uint16_t WindowKeys[] = {0x1E, 0x2C};
const profiles::KeyChoice WindowChoices[] = {{keys::KeyAction::Media, 5, 1},
                                             {keys::KeyAction::Function, 3, 1},
                                             {keys::KeyAction::Disabled, 0, 1},
                                             {keys::KeyAction::Default, 0, 1}};

std::vector<uint8_t> KeyMaps()
{
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(0, Keyboard().QlSimAreaSize(QL_SIM_AREA_KEYMAPS))));
    Keyboard().QlSimReadArea(QL_SIM_AREA_KEYMAPS, 0, bytes.data(), static_cast<uint32_t>(bytes.size()));
    return bytes;
}

Effect Diff(const std::vector<uint8_t>& from, const std::vector<uint8_t>& to)
{
    Effect effect;
    for (size_t i = 0; i < from.size() && i < to.size(); ++i)
        if (from[i] != to[i])
            effect.emplace_back(i, to[i]);
    return effect;
}

std::vector<std::string> KeySetArgs(const std::string& userFolder, const std::string& key, const std::string& action)
{
    return {"--simulate", "--user-folder", userFolder, "--quiet", "key", "set", "--profile", "1", key, action};
}

// Runs trevolinctl as a process of its own; what it printed goes to `output`.
int Spawn(const std::string& program, const std::vector<std::string>& args, const std::string& output)
{
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Owned {
    std::string owner;  // who sets the key
    std::string key;    // its name, for the report
    Effect lastDone;    // what its last change that said done set
    bool changed = false;
};

}  // namespace

std::vector<Violation> RunTogether(const std::string& folder, const std::string& trevolinctl, uint64_t seed,
                                   double seconds, size_t processes, TogetherTally& tally)
{
    std::vector<Violation> violations;
    processes = std::min(processes, std::size(ProcessKeys));
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder);
    const std::string userFolder = folder + "/user";
    Keyboard().QlSimReset();
    Keyboard().waitIdle();
    const Memory factory = Snapshot();
    const std::vector<uint8_t> factoryMaps = KeyMaps();

    // What each owner's change sets, each measured alone on the factory state.
    std::map<std::pair<std::string, std::string>, Effect> effects;
    for (size_t p = 0; p < processes; ++p) {
        for (const char* key : ProcessKeys[p]) {
            for (const char* action : Actions) {
                Restore(factory);
                std::ostringstream out, err;
                if (cli::RunCli(KeySetArgs(userFolder, key, action), out, err) != 0) {
                    violations.push_back(
                        {0, std::string("key set ") + key + " " + action + " failed without faults: " + err.str()});
                    return violations;
                }
                effects[{key, action}] = Diff(factoryMaps, KeyMaps());
            }
        }
    }
    Restore(factory);
    WindowSide side;
    const std::string lockPath =
        platform::KeyboardLock::DefaultPath(base::Environment::System()).value_or(folder + "/keyboard.lock");
    if (const std::string problem = OpenWindowSide(side, folder + "/window", lockPath); !problem.empty()) {
        violations.push_back({0, problem});
        return violations;
    }
    app::KeyboardApp& app = *side.app;
    const auto applyEdit = [&app](uint16_t key, const profiles::KeyChoice& choice, profiles::ApplyReport& report) {
        bool applied = false;
        app.Worker().RunAndWait([&] {
            auto& profiles = app.Profiles();
            static_cast<void>(profiles::StoreKeyAssignment(profiles.Store(), 0, key, choice));
            profiles.SetChangesPending(true);
            applied = profiles.ApplyChanges(&report);
        });
        return applied;
    };
    const auto readAgain = [&app] { app.Worker().RunAndWait([&app] { static_cast<void>(app.LoadOnArrival()); }); };
    std::map<std::pair<uint16_t, size_t>, Effect> windowEffects;
    for (const uint16_t key : WindowKeys) {
        for (size_t c = 0; c < std::size(WindowChoices); ++c) {
            Restore(factory);
            readAgain();
            profiles::ApplyReport report;
            if (!applyEdit(key, WindowChoices[c], report)) {
                violations.push_back({0, "the window's Apply failed without faults: " + report.write.problem});
                return violations;
            }
            windowEffects[{key, c}] = Diff(factoryMaps, KeyMaps());
        }
    }

    // Every byte a change may set belongs to one key: the keys share none.
    std::map<size_t, std::string> ownerOf;
    std::map<std::string, Owned> owned;
    const auto claim = [&](const std::string& owner, const std::string& key, const Effect& effect) {
        owned[key].owner = owner;
        owned[key].key = key;
        for (const auto& [at, value] : effect) {
            static_cast<void>(value);
            const auto [it, fresh] = ownerOf.emplace(at, key);
            if (!fresh && it->second != key)
                return false;
        }
        return true;
    };
    for (const auto& [which, effect] : effects)
        if (!claim("trevolinctl", which.first, effect))
            violations.push_back({0, "the keys " + which.first + " and " + ownerOf.begin()->second + " share bytes"});
    for (const auto& [which, effect] : windowEffects)
        if (!claim("the window", "key " + std::to_string(which.first), effect))
            violations.push_back({0, "the window's key " + std::to_string(which.first) + " shares bytes"});
    if (!violations.empty())
        return violations;

    Restore(factory);
    readAgain();
    const auto deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    std::mutex mutex;
    std::vector<std::thread> threads;
    for (size_t p = 0; p < processes; ++p) {
        threads.emplace_back([&, p] {
            std::mt19937_64 random(seed * 7919 + p);
            const std::string output = folder + "/process" + std::to_string(p) + ".out";
            const std::string ownFolder = folder + "/user" + std::to_string(p);
            while (Clock::now() < deadline) {
                const std::string key = ProcessKeys[p][random() % 2];
                const std::string action = Actions[random() % std::size(Actions)];
                const int exitCode = Spawn(trevolinctl, KeySetArgs(ownFolder, key, action), output);
                const std::string said = ReadText(output);
                std::lock_guard lock(mutex);
                ++tally.commands;
                if (exitCode == 0) {
                    ++tally.commandsDone;
                    owned[key].lastDone = effects[{key, action}];
                    owned[key].changed = true;
                } else {
                    ++tally.commandsRefused;
                    if (said.empty())
                        violations.push_back({tally.commands, "trevolinctl key set " + key + " " + action +
                                                                  " failed without saying why (exit code " +
                                                                  std::to_string(exitCode) + ")"});
                }
            }
        });
    }
    std::mt19937_64 random(seed);
    while (Clock::now() < deadline) {
        const uint16_t key = WindowKeys[random() % std::size(WindowKeys)];
        const size_t choice = random() % std::size(WindowChoices);
        bool done = false;
        // As a user told that another program changed the keyboard: read it
        // again and make the edit once more.
        for (int attempt = 0; attempt < 3 && !done; ++attempt) {
            profiles::ApplyReport report;
            done = applyEdit(key, WindowChoices[choice], report);
            const bool stale = !done && report.refused == profiles::ApplyReport::Refused::ChangedElsewhere;
            {
                std::lock_guard lock(mutex);
                ++tally.applies;
                if (done) {
                    ++tally.appliesDone;
                    Owned& mine = owned["key " + std::to_string(key)];
                    mine.lastDone = windowEffects[{key, choice}];
                    mine.changed = true;
                } else if (stale) {
                    ++tally.appliesStale;
                } else if (app::ApplyFailureText(report, side.texts, folder).empty()) {
                    violations.push_back({tally.applies, "the window's Apply failed without a word to say"});
                }
            }
            if (!stale)
                break;
            readAgain();
        }
        if (!done)
            readAgain();
    }
    for (auto& thread : threads)
        thread.join();
    side.app.reset();

    // Every key holds what its owner's last change that said done set.
    std::vector<uint8_t> expected = factoryMaps;
    for (const auto& [key, state] : owned)
        for (const auto& [at, value] : state.lastDone)
            expected[at] = value;
    const std::vector<uint8_t> final = KeyMaps();
    for (size_t at = 0; at < final.size() && at < expected.size(); ++at) {
        if (final[at] == expected[at])
            continue;
        const auto owner = ownerOf.find(at);
        violations.push_back({0, "byte " + std::to_string(at) +
                                     " of the key maps is not what its owner's last change set (" +
                                     (owner == ownerOf.end() ? std::string("a byte nobody changes")
                                                             : owned[owner->second].owner + "'s " + owner->second) +
                                     "): a change was written over"});
        break;
    }
    tally.violations += violations.size();
    return violations;
}

}  // namespace trevolin::soak
