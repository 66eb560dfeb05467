#pragma once

#include "core/base/TextLookup.h"
#include "core/macros/Macro.h"
#include "core/macros/MacroNameCounter.h"
#include "core/platform/Clock.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trevolin::macros {

// Language texts the editor's messages and questions use.
inline constexpr std::string_view MacroErrMaxKey = "MACRO_ERR_MAX";
inline constexpr std::string_view MacroDelayMaxKey = "MACRO_ACTION_ERR_DELAY_MAX";
inline constexpr std::string_view MacroDeleteConfirmKey = "MACRO_DELETE_CONFIRM_OF_KEYS";
inline constexpr std::string_view MacroClearConfirmKey = "MACRO_ACTION_CLEAR_CONFIRM";
inline constexpr std::string_view MacroSameNameKey = "MACRO_ERR_SAME";

// The delay a recorded event gets when the recorded pauses are not kept.
inline constexpr uint32_t FixedRecordDelayMs = 50;

struct MacroEditResult {
    enum class Status { Done, NoSuchMacro, TooManyMacros, BadName, NameTaken, TooManyEvents, NoFreeId, DelayCapped };

    Status status = Status::Done;
    // What to show the user: the language text where one exists, else one
    // English sentence; empty when there is nothing to say.
    std::string message;
    size_t position = 0;  // the macro added or changed

    // DelayCapped changed the event too, with the longest delay.
    bool Changed() const { return status == Status::Done || status == Status::DelayCapped; }
};

// Where AddEvent puts an event and which delay it keeps.
struct EventInsert {
    std::optional<size_t> afterRow;  // after this row when it exists, else at the end
    bool keepDelay = false;          // the event keeps its own delay (a macro being shown)
    bool recording = false;          // the event was just recorded
    bool recordDelay = false;        // when recording: keep the measured pause, else FixedRecordDelayMs
};

enum class EventMove { Top, Up, Down, Bottom };

// The macro editor's copy of the macro list, shared by the macro page of the
// key assignment dialog and `trevolinctl macro`: the list, the macro shown,
// its events, and the rules every change follows (at most 100 macros and
// 4000 events a macro, ids from 1 to 100, names and default names, delays).
// Nothing reaches the store until the list is committed; a cancelled dialog
// drops the editor.
class MacroListEditor {
public:
    // `list` is the stored list; every macro counts as stored (not new).
    MacroListEditor(std::vector<Macro> list, const base::TextLookup& texts, platform::Clock& clock);

    const std::vector<Macro>& Macros() const { return list_; }
    // Set by every change; what the dialog's "Apply" depends on.
    bool Dirty() const { return dirty_; }
    // The macro whose events the editor shows, if any.
    std::optional<size_t> Selected() const { return selected_; }
    void Select(std::optional<size_t> position);

    // The macro a user names by its id or, failing that, its exact name.
    std::optional<size_t> Find(std::string_view reference) const;

    // The rules a typed name (CheckName) and a given event list (CheckEvents)
    // must meet, for a caller that checks them before the list exists.
    static MacroEditResult CheckName(std::u16string_view name);
    static MacroEditResult CheckEvents(std::span<const MacroEvent> events);

    // A macro with a name chosen by the user, appended and selected. Refused
    // when the list is full, the name breaks the rules or another macro has
    // it, or there are more than 4000 events.
    MacroEditResult Add(std::u16string_view name, uint8_t playCount, std::vector<MacroEvent> events);
    // A new name chosen by the user: the same rules, the macro's own old name
    // aside.
    MacroEditResult Rename(size_t position, std::u16string_view name);

    // The dialog's add button: an empty macro with the next default name,
    // appended and selected; refused (MACRO_ERR_MAX) when the list is full.
    MacroEditResult AddNew();
    // The dialog's name field, once its editing ends (checked at every
    // keystroke, "F" on the way to "Fred" would clash with "Fire"). With
    // macros the selected one takes the text, cut to the record's 249
    // characters; a text another macro has (letters compared without regard
    // to case) leaves the old name and says so (MACRO_ERR_SAME), as does a
    // text the rules refuse; an empty text leaves it silently. Without
    // macros the text, or a default name, names a new macro. Nothing while
    // macros exist but none is selected.
    MacroEditResult FinishNameEdit(std::u16string_view typed);

    // Whether deleting asks first: the macro was stored, and keys play it
    // (`keysPlay` says whether any key of any profile plays a macro id).
    bool DeleteNeedsConfirmation(size_t position, const std::function<bool(uint16_t)>& keysPlay) const;
    // Removes the macro and selects the one before it (the first when it
    // was the first). False when there is no such macro.
    [[nodiscard]] bool Delete(size_t position);

    // How often the macro plays, held to 1..255; returns the value kept.
    uint8_t SetPlayCount(size_t position, int64_t typed);

    // Events of the macro at `position`, by row. AddEvent returns the row
    // the event went to, nothing when the macro is full (4000 events) or
    // missing. Every delay is the pause after its own event: an event put
    // after a row takes that row's delay, and the row takes the new event's.
    std::optional<size_t> AddEvent(size_t position, MacroEvent event, const EventInsert& how);
    [[nodiscard]] bool DeleteEvent(size_t position, size_t row);
    [[nodiscard]] bool ClearEvents(size_t position);
    // Each row keeps its own delay; returns the row's new place.
    std::optional<size_t> MoveEvent(size_t position, size_t row, EventMove move);
    // A typed delay: above 40 000 ms it is capped (DelayCapped, with the
    // MACRO_ACTION_ERR_DELAY_MAX message), and it is kept in steps of 10 ms.
    MacroEditResult SetEventDelay(size_t position, size_t row, uint64_t typedMs);
    // The key at `keyListPosition` of the macro key list; false when the
    // position or row does not exist or the key is the same.
    [[nodiscard]] bool SetEventKey(size_t position, size_t row, size_t keyListPosition);
    // Press or release; false when the row does not exist, the action is
    // neither, or it is the same.
    [[nodiscard]] bool SetEventAction(size_t position, size_t row, uint16_t action);

private:
    Macro* At(size_t position);
    bool NameTaken(std::u16string_view name, std::optional<size_t> except) const;
    MacroEditResult TooMany() const;
    std::u16string NextDefaultName(std::optional<size_t> except);

    std::vector<Macro> list_;
    const base::TextLookup& texts_;
    platform::Clock& clock_;
    MacroNameCounter counter_;
    std::optional<size_t> selected_;
    bool dirty_ = false;
};

}  // namespace trevolin::macros
