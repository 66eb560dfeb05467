// Shared pieces of the profile tests: a prompts recorder, a keyboard
// memory that answers the scripted library, and a rig of store, device
// link and KeyboardProfiles around a temporary user folder.
#pragma once

#include "core/device/DeviceSession.h"
#include "core/device/FactoryKeymap.h"
#include "core/keys/KeyMapBlock.h"
#include "core/keys/KeyNumber.h"
#include "core/keys/KeyAction.h"
#include "core/macros/Macro.h"
#include "core/platform/Prompts.h"
#include "core/profiles/KeyboardProfiles.h"
#include "core/profiles/ProfileStore.h"
#include "core/profiles/StoreMacroList.h"
#include "support/FakeHidLibrary.h"
#include "support/ManualClock.h"
#include "support/MapTextLookup.h"
#include "support/RecordingMainWindow.h"
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
using trevolin::test::MapTextLookup;
using trevolin::test::TempDir;

// Every message and question, in order; questions are answered from
// `answers` (No once they run out). `progress` tells what had happened
// when each was shown (for example how many reports were sent by then).
class RecordingPrompts final : public platform::Prompts {
public:
    struct Entry {
        std::string key;
        std::string text;
        bool question = false;
        Style style = Style::Plain;
        size_t at = 0;
    };

    void ShowMessage(std::string_view key, std::string_view text, Style style) override
    {
        entries.push_back({std::string(key), std::string(text), false, style, progress ? progress() : 0});
    }
    bool AskYesNo(std::string_view key, std::string_view text) override
    {
        entries.push_back({std::string(key), std::string(text), true, Style::Plain, progress ? progress() : 0});
        if (onAsk)
            onAsk();
        if (answers.empty())
            return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

    std::vector<std::string> Keys() const
    {
        std::vector<std::string> keys;
        for (const auto& e : entries)
            keys.push_back(e.key);
        return keys;
    }

    std::vector<Entry> entries;
    std::deque<bool> answers;
    std::function<size_t()> progress;
    std::function<void()> onAsk;
};

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

// The keyboard's memory behind the scripted library: commands 3/4 (info),
// 7/8 (key maps), 9/10 (macro area), 15 (default key map), answered as a
// keyboard does; `statusOf` makes the keyboard refuse one command.
struct FakeKeyboardMemory {
    std::array<uint8_t, 44> info{};
    std::array<uint8_t, 3 * 512> keymaps{};
    std::vector<uint8_t> macroArea;
    std::array<uint8_t, 512> defaultKeymap = device::BuiltInFactoryKeymap();
    std::map<uint8_t, uint8_t> statusOf;

    explicit FakeKeyboardMemory(uint8_t macroUnits = 255, uint8_t activeProfile = 1)
    {
        info[8] = 0x07;
        info[9] = 0x01;
        info[10] = activeProfile;
        info[11] = macroUnits;
        macroArea.assign(size_t{macroUnits} * 128, 0);
        // Every profile holds the default map, as a new keyboard does.
        for (size_t p = 0; p < 3; ++p)
            std::copy(defaultKeymap.begin(), defaultKeymap.end(), keymaps.begin() + static_cast<long>(p * 512));
    }

    void Answer(const device::DeviceReport& request, device::DeviceReport& reply)
    {
        if (auto it = statusOf.find(request.Command()); it != statusOf.end()) {
            reply[7] = it->second;
            return;
        }
        switch (request.Command()) {
        case 3: Read(info, request, reply); break;
        case 4: Write(info, request, reply); break;
        case 7: Read(keymaps, request, reply); break;
        case 8: Write(keymaps, request, reply); break;
        case 9: Read(macroArea, request, reply); break;
        case 10: Write(macroArea, request, reply); break;
        case 15: Read(defaultKeymap, request, reply); break;
        default: break;
        }
    }

    std::array<uint8_t, 512> Block(size_t profile) const
    {
        std::array<uint8_t, 512> block{};
        std::copy_n(keymaps.begin() + static_cast<long>(profile * 512), 512, block.begin());
        return block;
    }

private:
    template <typename Area>
    static bool Fits(const Area& area, const device::DeviceReport& request)
    {
        return size_t{request.Offset()} + request.Length() <= area.size() && request.Length() <= 56;
    }
    template <typename Area>
    static void Read(const Area& area, const device::DeviceReport& request, device::DeviceReport& reply)
    {
        if (!Fits(area, request)) {
            reply[7] = 0xFE;
            return;
        }
        std::copy_n(area.begin() + request.Offset(), request.Length(), reply.Data());
    }
    template <typename Area>
    static void Write(Area& area, const device::DeviceReport& request, device::DeviceReport& reply)
    {
        if (!Fits(area, request)) {
            reply[7] = 0xFE;
            return;
        }
        std::copy_n(request.Data(), request.Length(), area.begin() + request.Offset());
    }
};

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
                                 : std::to_string(command) + " " + std::to_string(first) + "+" +
                                       std::to_string(bytes));
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
    explicit FakeRig(FakeKeyboardMemory memory = FakeKeyboardMemory())
        : keyboard(std::move(memory)),
          folder{dir.File("user"), dir.File("template.userd")},
          session(fake.Exports(), window, workers, clock)
    {
        fake.answer = [this](const device::DeviceReport& request, device::DeviceReport& reply) {
            keyboard.Answer(request, reply);
        };
        EXPECT_TRUE(session.Start(true));
        profiles = std::make_unique<KeyboardProfiles>(store, session, folder, texts, prompts);
        prompts.progress = [this] { return fake.written.size(); };
        fake.written.clear();
    }

    std::string ProfileFile() const { return folder.path + "/$Profile0"; }
    std::vector<std::string> Sent() const { return Transfers(fake.written); }

    TempDir dir;
    FakeKeyboardMemory keyboard;
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
