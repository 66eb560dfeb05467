#include "core/app/KeyAssignmentSession.h"

#include "core/keys/KeyAction.h"
#include "core/keys/RawAction.h"
#include "core/profiles/KeyAssignment.h"
#include "core/profiles/ProfileLayout.h"
#include "core/profiles/StoreMacroList.h"

#include <mutex>

namespace trevolin::app {

using macros::MacroEditResult;
using profiles::KeyAssignmentDialogModel;

KeyAssignmentSession::KeyAssignmentSession(KeyboardApp& app, const base::TextLookup& texts, base::Prompts& prompts,
                                           base::SettingsStore& settings, platform::Clock& clock)
    : app_(app), texts_(texts), prompts_(prompts), settings_(settings), clock_(clock)
{
}

bool KeyAssignmentSession::Open(const keyboard::KeyAssignmentTarget& target, std::string& problem)
{
    Close();
    const int profile = app_.Session().ActiveProfileCache();
    if (profile < 0 || profile >= profiles::ProfileCount()) {
        problem = "the keyboard's active profile is not known";
        return false;
    }
    if (target.keyNumber >= profiles::EntriesPerLayer) {
        problem = "the key has no entry";
        return false;
    }
    uint16_t kind = 0;
    uint32_t value = 0;
    std::optional<keys::ActionCode> rawCode;
    std::vector<macros::Macro> list;
    {
        profiles::ProfileStore& store = app_.Store();
        std::lock_guard lock(store.Lock());
        const auto entry = store.Image().Entry(profiles::ProfileImage::SlotOf(static_cast<size_t>(profile),
                                                                              target.keyNumber));
        const auto action = keys::TryReadKeyAction(entry);
        if (!action) {
            problem = "the key has no entry";
            return false;
        }
        kind = action->kind;
        value = action->value;
        rawCode = keys::RawCodeOf(*action);
    }
    if (!profiles::ReadMacroList(app_.Store(), list)) {
        problem = "the macro list cannot be copied";
        return false;
    }
    // A value other than 1 reads as 0 and is written back so.
    const std::string stored = settings_.ProfileString(RecordDelaySetting, "0");
    recordDelay_ = stored == "1";
    if (stored != "0" && stored != "1")
        static_cast<void>(settings_.SetProfileString(RecordDelaySetting, "0"));

    target_ = target;
    profile_ = profile;
    open_.emplace(KeyAssignmentDialogModel({target.keyNumber, target.macroOnly, kind, value}), clock_, kind, value);
    open_->macros.emplace(std::move(list), texts_, clock_);
    open_->rawCode = rawCode;
    openCount_.store(1);
    return true;
}

std::optional<size_t> KeyAssignmentSession::InitialMacro() const
{
    const auto& list = open_->macros->Macros();
    if (list.empty())
        return std::nullopt;
    const uint16_t id = open_->page.InitialMacroId();
    for (size_t i = 0; i < list.size(); ++i) {
        if (id != 0 && list[i].id == id)
            return i;
    }
    return 0;
}

bool KeyAssignmentSession::Dirty() const
{
    return open_ && (open_->page.Dirty() || open_->macros->Dirty());
}

void KeyAssignmentSession::SetRecordDelay(bool keep)
{
    recordDelay_ = keep;
    static_cast<void>(settings_.SetProfileString(RecordDelaySetting, keep ? "1" : "0"));
}

bool KeyAssignmentSession::StartRecording(std::optional<size_t> afterRow)
{
    if (!open_ || !open_->macros->Selected() || open_->recorder.Running())
        return false;
    open_->recordAfter = afterRow;
    open_->recorder.Start();
    return true;
}

std::vector<size_t> KeyAssignmentSession::AddRecorded(const std::vector<macros::MacroEvent>& events)
{
    std::vector<size_t> rows;
    const auto selected = open_->macros->Selected();
    if (!selected)
        return rows;
    for (const macros::MacroEvent& event : events) {
        const auto row = open_->macros->AddEvent(
            *selected, event, {open_->recordAfter, false, true, recordDelay_});
        if (!row)
            break;
        // The next event goes after this one.
        open_->recordAfter = *row;
        rows.push_back(*row);
    }
    return rows;
}

std::vector<size_t> KeyAssignmentSession::Record(const macros::RecordedKey& key)
{
    if (!Recording())
        return {};
    const auto selected = open_->macros->Selected();
    const auto& list = open_->macros->Macros();
    const size_t used = selected && *selected < list.size() ? list[*selected].events.size() : macros::Macro::MaxEvents;
    const size_t room = macros::Macro::MaxEvents - std::min(used, macros::Macro::MaxEvents);
    std::vector<size_t> rows = AddRecorded(open_->recorder.Take(key, room));
    if (open_->recorder.Full()) {
        const auto more = StopRecording();
        rows.insert(rows.end(), more.begin(), more.end());
    }
    return rows;
}

std::vector<size_t> KeyAssignmentSession::StopRecording()
{
    if (!Recording())
        return {};
    return AddRecorded(open_->recorder.Stop());
}

bool KeyAssignmentSession::DeleteMacro(size_t position)
{
    if (!open_ || Recording())
        return false;
    const bool ask = open_->macros->DeleteNeedsConfirmation(
        position, [this](uint16_t id) { return profiles::KeysPlayMacro(app_.Store(), id); });
    if (ask) {
        const std::string text = texts_.Text(macros::MacroDeleteConfirmKey);
        if (!prompts_.AskYesNo(macros::MacroDeleteConfirmKey,
                               text.empty() ? "Keys use this macro. Delete it anyway?" : text))
            return false;
        // The dialog may have closed while the question waited (the keyboard
        // left).
        if (!open_)
            return false;
    }
    return open_->macros->Delete(position);
}

bool KeyAssignmentSession::ClearEvents(size_t position)
{
    if (!open_)
        return false;
    const auto& list = open_->macros->Macros();
    if (position >= list.size() || list[position].events.empty())
        return false;
    const std::string text = texts_.Text(macros::MacroClearConfirmKey);
    if (!prompts_.AskYesNo(macros::MacroClearConfirmKey, text.empty() ? "Delete every event of this macro?" : text) ||
        !open_)
        return false;
    return open_->macros->ClearEvents(position);
}

void KeyAssignmentSession::Tell(const MacroEditResult& result)
{
    if (result.message.empty())
        return;
    const bool warning = !result.Changed();
    prompts_.ShowMessage({}, result.message, warning ? base::Prompts::Style::Warning : base::Prompts::Style::Plain);
}

KeyAssignmentSession::ApplyResult KeyAssignmentSession::Apply(uint8_t playCount)
{
    ApplyResult result;
    if (!open_)
        return result;
    StopRecording();
    macros::MacroListEditor* editor = &*open_->macros;
    bool changed = false;
    if (editor->Dirty()) {
        const auto commit = profiles::CommitMacroList(app_.Store(), editor->Macros());
        result.macrosCommitted = commit.committed;
        changed = commit.committed;
        if (commit.committed) {
            // The copy goes on from what the store now holds: the new
            // macros are stored ones from here on.
            std::vector<macros::Macro> list;
            if (profiles::ReadMacroList(app_.Store(), list)) {
                const auto selected = editor->Selected();
                editor = &open_->macros.emplace(std::move(list), texts_, clock_);
                editor->Select(selected);
            }
        }
    }
    KeyAssignmentDialogModel::MacroChoice macro;
    const auto& list = editor->Macros();
    macro.listEmpty = list.empty();
    if (const auto selected = editor->Selected(); selected && *selected < list.size())
        macro.selectedId = list[*selected].id;
    if (!list.empty())
        macro.firstId = list.front().id;
    macro.playCount = playCount;
    if (const auto choice = open_->page.ChoiceToApply(macro)) {
        result.keyWritten = profiles::StoreKeyAssignment(app_.Store(), profile_, target_.keyNumber, *choice).has_value();
        changed = changed || result.keyWritten;
    }
    open_->page.Applied();
    if (changed) {
        app_.Profiles().SetChangesPending(true);
        // The key buttons read the store again on the keyboard thread (the
        // active profile may have to be asked for there).
        app_.Worker().Post([this] { app_.Profiles().RefreshKeyButtons(); }, "key buttons");
    }
    return result;
}

void KeyAssignmentSession::Close()
{
    open_.reset();
    openCount_.store(0);
}

}  // namespace trevolin::app
