// Shared pieces of the profile tests: the language texts, reports summed up
// per transfer, and a rig of store, device
// link and KeyboardProfiles around a temporary user folder.
#pragma once

#include "core/device/DeviceSession.h"
#include "core/device/FactoryKeymap.h"
#include "core/keys/KeyMapBlock.h"
#include "core/keys/KeyNumber.h"
#include "core/keys/KeyAction.h"
#include "core/macros/Macro.h"
#include "core/base/Prompts.h"
#include "core/profiles/KeyboardProfiles.h"
#include "core/profiles/ProfileStore.h"
#include "core/profiles/StoreMacroList.h"
#include "support/FakeHidLibrary.h"
#include "support/FakeKeyboard.h"
#include "support/ManualClock.h"
#include "support/MapTextLookup.h"
#include "support/RecordingMainWindow.h"
#include "support/RecordingPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace trevolin::profiles::test {

using trevolin::test::FakeHidLibrary;
using trevolin::test::FakeKeyboard;
using trevolin::test::MapTextLookup;
using trevolin::test::RecordingPrompts;
using trevolin::test::TempDir;

// The language texts the profile operations show.
inline MapTextLookup ProfileTexts()
{
    return MapTextLookup{{"EXTRA_MACRO_TOO_LONG", "too long"},
                         {"EXTRA_PROFILE_SPACE_TIGHT", "no names"},
                         {"PROFILE_FORMAT_ERROR", "%s is damaged"},
                         {"MAIN_PROMPT_INPORT", "not restored"},
                         {"PROFILE_SEELCT_PROMPT2", "close the key window"},
                         {"PROFILE_SELECT_PROMPT", "apply first?"},
                         {"DEFAULT_PROFILE_NAME", "Default profile"},
                         {"PROFILE_TIP", "Current profile: "},
                         {"PROFILE_1", "Profile 1"},
                         {"PROFILE_2", "Profile 2"},
                         {"PROFILE_3", "Profile 3"},
                         {"MACRO_NEW_PREFIX", "Macro "}};
}

// A keyboard with `units` of 128 bytes of macro area.
inline FakeKeyboard KeyboardWithMacroUnits(uint8_t units)
{
    FakeKeyboard keyboard;
    keyboard.SetMacroUnits(units);
    return keyboard;
}

// The reports sent, one line per transfer: consecutive reports of one
// command become "command first-offset+bytes" ("8 512+512"); reports
// without data are the bare command ("1").
inline std::vector<std::string> Transfers(const std::vector<device::DeviceReport>& written)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < written.size()) {
        const uint8_t command = written[i].Command();
        const uint16_t first = written[i].Offset();
        size_t bytes = 0;
        size_t j = i;
        // A transfer continues while each piece starts where the last ended.
        // Key-map blocks are transfers of their own even when they follow on.
        const bool blocks = command == 7 || command == 8;
        while (j < written.size() && written[j].Command() == command &&
               (j == i || (written[j].Offset() == first + bytes && !(blocks && written[j].Offset() % 512 == 0)))) {
            bytes += written[j].Length();
            ++j;
        }
        out.push_back(bytes == 0 ? std::to_string(command)
                                 : std::to_string(command) + " " + std::to_string(first) + "+" + std::to_string(bytes));
        i = j;
    }
    return out;
}

inline macros::Macro MakeMacro(uint16_t id, std::u16string name, size_t events)
{
    macros::Macro m;
    m.id = id;
    m.name = std::move(name);
    for (size_t e = 0; e < events; ++e)
        m.events.push_back({10, 0x1E, static_cast<uint16_t>(e % 2)});
    return m;
}

// The key number of the key at a position of the default key map (one
// whose default code names a key, such as 8 to 13 and 16 to 21).
inline size_t MappedKeyNumber(size_t position)
{
    const auto code = keys::ActionCodeAt(device::BuiltInFactoryKeymap(), position);
    return keys::KeyNumberOf(keys::DecodeActionCode(code));
}

inline void SetEntry(ProfileStore& store, size_t layer, size_t entry, const keys::KeyAction& action)
{
    std::lock_guard guard(store.Lock());
    ASSERT_TRUE(keys::TryWriteKeyAction(action, store.Image().Entry(layer, entry)));
}

inline keys::KeyAction EntryOf(ProfileStore& store, size_t layer, size_t entry)
{
    std::lock_guard guard(store.Lock());
    return keys::TryReadKeyAction(store.Image().Entry(layer, entry)).value_or(keys::KeyAction{0xFFFF});
}

// Store, scripted device link and KeyboardProfiles over a temporary user
// folder; the keyboard has arrived (factory key map and capacity read)
// before the profiles are made.
class FakeRig {
public:
    explicit FakeRig(FakeKeyboard memory = FakeKeyboard())
        : keyboard(std::move(memory)),
          folder{dir.File("user"), dir.File("template.userd")},
          session(fake.Exports(), window, workers, clock)
    {
        keyboard.AnswerFor(fake);
        EXPECT_TRUE(session.Start(true));
        profiles = std::make_unique<KeyboardProfiles>(store, session, folder, texts, prompts);
        prompts.progress = [this] { return fake.written.size(); };
        fake.written.clear();
    }

    std::string ProfileFile() const { return folder.path + "/$Profile0"; }
    std::vector<std::string> Sent() const { return Transfers(fake.written); }

    TempDir dir;
    FakeKeyboard keyboard;
    UserFolder folder;
    FakeHidLibrary fake;
    trevolin::test::RecordingMainWindow window;
    platform::InlineTaskRunner workers;
    trevolin::test::ManualClock clock;
    device::DeviceSession session;
    ProfileStore store;
    MapTextLookup texts = ProfileTexts();
    RecordingPrompts prompts;
    std::unique_ptr<KeyboardProfiles> profiles;
};

}  // namespace trevolin::profiles::test
