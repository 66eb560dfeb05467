#pragma once

#include "core/app/KeyboardApp.h"
#include "core/base/Prompts.h"
#include "core/base/SettingsStore.h"
#include "core/base/TextLookup.h"
#include "core/keyboard/KeyClick.h"
#include "core/keys/ActionCode.h"
#include "core/macros/MacroListEditor.h"
#include "core/macros/MacroRecorder.h"
#include "core/platform/Clock.h"
#include "core/profiles/KeyAssignmentDialog.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trevolin::app {

// The settings entry of the macro page's "keep recorded pauses" option, in
// the "PROFILES" section: "1" keeps the measured pauses, anything else
// records every pause as 50 ms.
inline constexpr std::string_view RecordDelaySetting = "MacroRecordDelay";

// One opening of the key assignment dialog, without widgets: the key's
// entry as the dialog found it, the page model, the macro editor's private
// copy of the macro list, the recorder, and what Apply writes. Runs on the
// window's thread; it reads and writes the store under its lock and asks
// the keyboard nothing.
class KeyAssignmentSession {
public:
    KeyAssignmentSession(KeyboardApp& app, const base::TextLookup& texts, base::Prompts& prompts,
                         base::SettingsStore& settings, platform::Clock& clock);

    // Opens for a key. Refused (with the reason in `problem`) when the
    // keyboard's active profile is unknown or the key has no entry.
    bool Open(const keyboard::KeyAssignmentTarget& target, std::string& problem);
    bool IsOpen() const { return open_.has_value(); }
    // How many dialogs are open (0 or 1): a profile switch goes on only
    // with none. Any thread.
    int OpenCount() const { return openCount_.load(); }
    const keyboard::KeyAssignmentTarget& Target() const { return target_; }
    int Profile() const { return profile_; }

    profiles::KeyAssignmentDialogModel& Page() { return open_->page; }
    macros::MacroListEditor& Macros() { return *open_->macros; }
    // The entry's kind and value as the dialog found them.
    uint16_t InitialKind() const { return open_->initialKind; }
    uint32_t InitialValue() const { return open_->initialValue; }
    // The entry's code as another program left it (a code this program has
    // no page for), shown until the user chooses something else.
    std::optional<keys::ActionCode> InitialRawCode() const { return open_->rawCode; }
    // The macro the page selects when first shown: the entry's macro, or
    // the first.
    std::optional<size_t> InitialMacro() const;
    // Anything to apply: the page or the macros changed since the last Apply.
    bool Dirty() const;

    // --- The macro page -------------------------------------------------------
    bool RecordDelay() const { return recordDelay_; }
    // Stored at once.
    void SetRecordDelay(bool keep);
    bool Recording() const { return open_ && open_->recorder.Running(); }
    // Starts recording into the selected macro, after the selected row
    // (`afterRow`), or at the end. False without a selected macro.
    bool StartRecording(std::optional<size_t> afterRow);
    // The key event, when recording; the rows the events went to (the last
    // is the one to select). A full macro ends the recording.
    std::vector<size_t> Record(const macros::RecordedKey& key);
    // Ends the recording: releases for keys still down are added.
    std::vector<size_t> StopRecording();
    // The delete button: asks first when keys of any profile play a stored
    // macro; false when nothing was deleted.
    bool DeleteMacro(size_t position);
    // The clear button: asks first; false when nothing was cleared.
    bool ClearEvents(size_t position);
    // A message the editor returned, shown when it says something.
    void Tell(const macros::MacroEditResult& result);

    // --- Apply, OK, Cancel ---------------------------------------------------------
    struct ApplyResult {
        bool macrosCommitted = true;  // the macro list (if it changed) is in the store
        bool keyWritten = false;      // the key's entry was written
    };
    // Ends a recording, commits the macro list when it changed and writes
    // the key's entry (unless an entry of a kind without a page was left
    // alone); the main window's Apply then has work to do.
    ApplyResult Apply(uint8_t playCount);
    // Ends the opening; nothing is written.
    void Close();

private:
    struct Opened {
        Opened(profiles::KeyAssignmentDialogModel model, platform::Clock& clock, uint16_t kind, uint32_t value)
            : page(model), recorder(clock), initialKind(kind), initialValue(value)
        {
        }
        profiles::KeyAssignmentDialogModel page;
        // Made again from the store after each Apply: what Apply committed
        // is stored, not new, from then on.
        std::optional<macros::MacroListEditor> macros;
        macros::MacroRecorder recorder;
        uint16_t initialKind = 0;
        uint32_t initialValue = 0;
        std::optional<keys::ActionCode> rawCode;
        std::optional<size_t> recordAfter;
    };
    std::vector<size_t> AddRecorded(const std::vector<macros::MacroEvent>& events);

    KeyboardApp& app_;
    const base::TextLookup& texts_;
    base::Prompts& prompts_;
    base::SettingsStore& settings_;
    platform::Clock& clock_;
    keyboard::KeyAssignmentTarget target_;
    int profile_ = -1;
    bool recordDelay_ = false;
    std::optional<Opened> open_;
    std::atomic<int> openCount_{0};
};

}  // namespace trevolin::app
