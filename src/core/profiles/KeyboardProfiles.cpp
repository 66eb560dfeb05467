#include "core/profiles/KeyboardProfiles.h"

#include "core/base/AtomicFile.h"
#include "core/base/FormatText.h"
#include "core/profiles/ActiveProfile.h"
#include "core/profiles/ImageFile.h"
#include "core/profiles/KeyTablesWriter.h"
#include "core/profiles/KeyboardImageReader.h"
#include "core/profiles/MacroNameRecovery.h"
#include "core/profiles/StoreMacroList.h"
#include "core/profiles/StoreMacroLookups.h"

#include <filesystem>
#include <mutex>
#include <new>
#include <utility>

namespace trevolin::profiles {

// The key buttons' view as KeyButtons drives it: the window's own view when
// there is one, and "Apply enabled" becomes pending changes.
class KeyboardProfiles::ButtonRelay final : public keys::KeyButtonView {
public:
    ButtonRelay(KeyboardProfiles& owner, keys::KeyButtonView* view) : owner_(owner), view_(view) {}

    void ShowKeyLook(uint16_t controlId, const keys::KeyLook& look) override
    {
        if (view_)
            view_->ShowKeyLook(controlId, look);
    }
    void EnableApply() override
    {
        owner_.SetChangesPending(true);
        if (view_)
            view_->EnableApply();
    }
    bool HasView() const { return view_ != nullptr; }

private:
    KeyboardProfiles& owner_;
    keys::KeyButtonView* view_;
};

KeyboardProfiles::KeyboardProfiles(ProfileStore& store, device::DeviceSession& session, UserFolder folder,
                                   const base::TextLookup& texts, base::Prompts& prompts,
                                   keys::KeyButtonView* keyButtons)
    : store_(store),
      session_(session),
      folder_(std::move(folder)),
      texts_(texts),
      prompts_(prompts),
      keyTable_(store),
      relay_(std::make_unique<ButtonRelay>(*this, keyButtons))
{
    keys::KeyButtons::Sources sources;
    sources.activeProfile = [this] { return GetActiveProfile(session_); };
    sources.gKeyBankB = [this] { return session_.BankB(); };
    sources.macroNameOfId = MacroNameLookupOf(store_);
    sources.defaultKeyMap = [this] { return session_.FactoryKeymap(); };
    buttons_ = std::make_unique<keys::KeyButtons>(keyTable_, texts_, *relay_, std::move(sources));
}

KeyboardProfiles::~KeyboardProfiles() = default;

void KeyboardProfiles::SetChangesPending(bool pending)
{
    if (pending)
        edits_.fetch_add(1);
    pending_.store(pending);
    if (pendingListener_)
        pendingListener_(pending);
}

void KeyboardProfiles::SetPendingListener(std::function<void(bool)> listener)
{
    pendingListener_ = std::move(listener);
}

void KeyboardProfiles::SetSwitchHooks(ProfileSwitchHooks hooks)
{
    hooks_ = std::move(hooks);
}

void KeyboardProfiles::Show(std::string_view key, base::Prompts::Style style)
{
    prompts_.ShowMessage(key, texts_.Text(key), style);
}

void KeyboardProfiles::TellRestoreFailed(const std::string& reason)
{
    // The language file's sentence, then why, as a sentence of its own.
    std::string text = texts_.Text(ImportFailedText);
    if (!reason.empty()) {
        std::string why = reason;
        if (why.front() >= 'a' && why.front() <= 'z')
            why.front() = static_cast<char>(why.front() - 'a' + 'A');
        text += " " + why + (why.back() == '.' ? "" : ".");
    }
    prompts_.ShowMessage(ImportFailedText, text, base::Prompts::Style::Warning);
}

// --- Keyboard to program ----------------------------------------------------

bool KeyboardProfiles::ExportKeyboardToFile(const std::string& path, KeyboardReadReport* report)
{
    KeyboardReadReport local;
    KeyboardReadReport& r = report ? *report : local;
    std::string bytes;
    if (!ReadKeyboardImage(session_, texts_, bytes, r))
        return false;
    if (r.defaultKeymapMissing) {
        r.ok = false;
        r.problem = BackupLacksKeysProblem;
        return false;
    }
    if (!r.macroNamesStored)
        r.namesRecovered = RecoverMacroNames(bytes, folder_);
    r.fileWritten = base::AtomicFile::Write(path, bytes);
    if (!r.fileWritten) {
        r.ok = false;
        r.problem = "the file " + path + " could not be written";
    }
    return r.ok;
}

bool KeyboardProfiles::PutDefaultImage()
{
    // Built aside and swapped in, so that without memory the store keeps
    // what it had rather than nothing.
    try {
        ProfileImage image;
        if (!image.SetFixedPart(ProfileImage::DefaultFixedPart(0)))
            return false;
        store_.Replace(std::move(image), TextTable());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

LoadReport KeyboardProfiles::LoadFromKeyboard(bool keepPending)
{
    LoadReport out;
    // A folder that cannot be made shows in the profile file's write below.
    static_cast<void>(EnsureUserFolder(folder_));
    std::string bytes;
    const bool read = ReadKeyboardImage(session_, texts_, bytes, out.read);
    // Before the profile file takes the keyboard's macros, which may have
    // come without their names.
    if (read && !out.read.macroNamesStored)
        out.read.namesRecovered = RecoverMacroNames(bytes, folder_);
    {
        std::lock_guard guard(store_.Lock());
        if (read) {
            // The profile file mirrors the keyboard; when it cannot be written
            // the store still takes what the keyboard holds, so that a later
            // Apply cannot overwrite the keyboard with tables it never had.
            const std::string path = ProfileFilePath(folder_, out.read.activeProfile);
            out.read.fileWritten = base::AtomicFile::Write(path, bytes);
            if (!out.read.fileWritten)
                out.read.problem = "the profile file " + path + " could not be written";
            ProfileImage image;
            TextTable texts;
            const auto view = std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            if (ParseImage(view, image, texts)) {
                store_.Replace(std::move(image), std::move(texts));
                outside_.StoreIsCurrent();
                missingKeyAssignments_.store(out.read.defaultKeymapMissing);
                out.source = LoadReport::Source::Keyboard;
                origin_.store(out.read.macroAreaDamaged ? StoreOrigin::DamagedMacros : StoreOrigin::Keyboard);
            }
        } else if (PutDefaultImage()) {
            missingKeyAssignments_.store(false);
            out.source = LoadReport::Source::Default;
            origin_.store(StoreOrigin::NotFromKeyboard);
        }
    }
    RefreshKeyButtons();
    if (!keepPending) {
        SetChangesPending(false);
        out.pendingCleared = true;
    }
    return out;
}

int KeyboardProfiles::OnProfileSync(LoadReport* report)
{
    LoadReport load = LoadFromKeyboard(false);
    if (report)
        *report = std::move(load);
    const int active = GetActiveProfile(session_);
    if (active < 0 || active >= ProfileCount())
        return NoProfile;
    session_.Commands().SetCurrentProfile(active);
    return active;
}

// --- Program to keyboard ----------------------------------------------------

bool KeyboardProfiles::WriteToKeyboard(bool allProfiles, KeyboardWriteReport* report)
{
    KeyboardWriteReport local;
    KeyboardWriteReport& r = report ? *report : local;
    if (missingKeyAssignments_.load()) {
        // The read went on for the window's sake; writing what it left out
        // would reset those keys.
        r = KeyboardWriteReport{};
        r.stop = KeyboardWriteReport::Stop::NoDefaultKeymap;
        r.problem = NoDefaultKeymapProblem;
        return false;
    }
    const std::optional<ApplySnapshot> snapshot = MakeSnapshot(store_);
    if (!snapshot) {
        r = KeyboardWriteReport{};
        r.stop = KeyboardWriteReport::Stop::NoSnapshot;
        r.problem = "the profiles could not be prepared for the keyboard";
        return false;
    }
    const bool written = WriteKeyTables(*snapshot, session_, allProfiles, texts_, r);
    if (r.stop == KeyboardWriteReport::Stop::MacrosTooLong)
        Show(MacrosTooLongText, base::Prompts::Style::TopMost);
    // Only a macro area that reached the keyboard was stored without names.
    if (r.stop == KeyboardWriteReport::Stop::None && !r.namesIncluded && r.macroAreaResult == device::ResultOk)
        Show(NamesDroppedText, base::Prompts::Style::TopMost);
    return written;
}

bool KeyboardProfiles::Apply(WriteScope scope, ApplyReport* report, bool overwriteDamagedMacros)
{
    ApplyReport local;
    ApplyReport& r = report ? *report : local;
    r = ApplyReport{};
    const StoreOrigin origin = origin_.load();
    if (origin == StoreOrigin::NotFromKeyboard) {
        // The default image written now would replace every assignment the
        // keyboard holds.
        r.refused = ApplyReport::Refused::NotLoaded;
        r.write.problem = "the keyboard's key tables were never read, so writing would replace them";
        if (prompts_.AskYesNo(NotLoadedText, texts_.Text(NotLoadedText)))
            LoadFromKeyboard(false);
        return false;
    }
    if (origin == StoreOrigin::DamagedMacros && !overwriteDamagedMacros &&
        !prompts_.AskYesNo(DamagedMacrosText, texts_.Text(DamagedMacrosText))) {
        r.refused = ApplyReport::Refused::DamagedMacros;
        r.write.problem = "the keyboard's damaged macro area was left as it is";
        return false;
    }
    if (outside_.StoreIsStale()) {
        // The store still holds what the other program changed as it was
        // before: written now, it would undo that change unseen.
        outside_.StoreIsCurrent();
        r.refused = ApplyReport::Refused::ChangedElsewhere;
        r.write.problem = "another Trevolin program changed the keyboard after Trevolin read it";
        return false;
    }
    const uint64_t editsBefore = edits_.load();
    // The profile file mirrors what the keyboard holds: it takes the store
    // only once the keyboard has.
    if (WriteToKeyboard(scope == WriteScope::AllProfiles, &r.write))
        r.saved = SaveActiveProfile(store_, folder_, session_, true);
    r.ok = r.write.ok && r.saved;
    if (r.write.ok) {
        origin_.store(StoreOrigin::Keyboard);
        outside_.StoreIsCurrent();
    }
    // An edit made while the keyboard was written is not on it yet.
    if (r.ok && edits_.load() == editsBefore)
        SetChangesPending(false);
    return r.ok;
}

bool KeyboardProfiles::ApplyChanges(ApplyReport* report)
{
    if (!ChangesPending()) {
        if (report) {
            *report = ApplyReport{};
            report->ok = true;
            report->skipped = true;
        }
        return true;
    }
    return Apply(WriteScope::ActiveProfile, report);
}

// --- Exchange files -----------------------------------------------------------

int KeyboardProfiles::ValidateProfileFile(const std::string& path, ProfileFileCheck* check)
{
    ProfileFileCheck verdict = CheckProfileFile(path);
    if (verdict.formatError) {
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(path, error);
        const std::string shown = error ? path : full.lexically_normal().string();
        prompts_.ShowMessage(FormatErrorText, base::FormatText(texts_.Text(FormatErrorText), shown),
                             base::Prompts::Style::Plain);
    }
    const int result = verdict.result;
    if (check)
        *check = std::move(verdict);
    return result;
}

bool KeyboardProfiles::Backup(const std::string& path)
{
    if (missingKeyAssignments_.load())
        return false;
    std::lock_guard guard(store_.Lock());
    return WriteImageFile(store_, false, path);
}

bool KeyboardProfiles::Restore(const std::string& path, RestoreReport* report)
{
    RestoreReport local;
    RestoreReport& r = report ? *report : local;
    r = RestoreReport{};
    if (ValidateProfileFile(path, &r.check) <= 0) {
        TellRestoreFailed(r.check.reason);
        r.problem = "the file was refused: " + r.check.reason;
        return false;
    }
    {
        std::lock_guard guard(store_.Lock());
        // The reader swaps the content in only when the whole file was read,
        // so a failure here leaves the store (and the pending state) alone.
        if (!ReadImageFile(store_, path)) {
            r.problem = "the file could not be read";
            TellRestoreFailed(r.problem);
            return false;
        }
        r.storeReplaced = true;
        // The file's tables are whole, whatever the keyboard held before.
        origin_.store(StoreOrigin::Keyboard);
        missingKeyAssignments_.store(false);
        outside_.StoreIsCurrent();
        // The check has noted them; the keyboard must not get a count it
        // cannot play.
        RaiseZeroPlayCounts(store_);
    }
    if (WriteToKeyboard(true, &r.write))
        r.saved = SaveActiveProfile(store_, folder_, session_, true);
    RefreshKeyButtons();
    r.ok = r.write.ok;
    if (r.ok) {
        SetChangesPending(false);
        return true;
    }
    // The store holds the file and the keyboard does not: Apply must stay
    // possible, and the user must know.
    SetChangesPending(true);
    r.problem = "the profiles were read from the file but not written to the keyboard: " + r.write.problem;
    TellRestoreFailed(r.problem + "; they stay pending for Apply");
    return false;
}

// --- Switching profiles -------------------------------------------------------

bool KeyboardProfiles::DiscardEdits()
{
    const int active = GetActiveProfile(session_);
    if (active < 0)
        return false;
    {
        std::lock_guard guard(store_.Lock());
        if (ReadImageFile(store_, ProfileFilePath(folder_, active)))
            return true;
    }
    // Without a readable profile file the keyboard is the other copy of the
    // last applied state.
    return LoadFromKeyboard(true).source == LoadReport::Source::Keyboard;
}

bool KeyboardProfiles::SelectProfile(int index, ProfileSelection* outcome)
{
    ProfileSelection local;
    ProfileSelection& s = outcome ? *outcome : local;
    s = ProfileSelection{};
    if (index >= ProfileCount())
        index = 0;
    s.index = index;

    if (hooks_.keyDialogOpen && hooks_.keyDialogOpen()) {
        Show(CloseKeyDialogText, base::Prompts::Style::Plain);
        return false;
    }

    const bool managerModified = hooks_.managerModified && hooks_.managerModified();
    if (!managerModified && !ChangesPending()) {
        s.switched = SetActiveProfile(session_, index);
        if (hooks_.managerOpen && hooks_.managerOpen() && hooks_.tickManagerRow)
            hooks_.tickManagerRow(index);
    } else {
        if (!selectPromptOpen_) {
            selectPromptOpen_ = true;
            s.asked = true;
            if (prompts_.AskYesNo(ApplyBeforeSwitchText, texts_.Text(ApplyBeforeSwitchText))) {
                // Whichever Apply runs, the pending flag tells how it went.
                if (hooks_.applyCommand)
                    hooks_.applyCommand();
                else
                    static_cast<void>(ApplyChanges());
                s.applied = !ChangesPending();
            } else {
                SetChangesPending(false);
                s.discarded = DiscardEdits();
            }
            selectPromptOpen_ = false;
        }
        s.switched = SetActiveProfile(session_, index);
    }

    RefreshKeyButtons();
    const ProfileMenu menu = BuildProfileMenu();
    if (hooks_.showProfileMenu)
        hooks_.showProfileMenu(menu);
    s.accepted = s.switched;
    return s.accepted;
}

ProfileMenu KeyboardProfiles::BuildProfileMenu()
{
    return profiles::BuildProfileMenu(texts_, GetActiveProfile(session_));
}

// --- Key buttons ------------------------------------------------------------------

void KeyboardProfiles::RefreshKeyButtons()
{
    // The buttons take the store lock while they read it; it is not held
    // here, since asking for the active profile may ask the keyboard.
    // Without a window there is nothing to show, and nothing to ask the
    // keyboard for.
    if (relay_->HasView())
        buttons_->RefreshKeyButtons();
}

bool KeyboardProfiles::ResetActiveProfileKeys()
{
    return buttons_->ResetActiveProfileKeys();
}

bool KeyboardProfiles::ResetProfileKeys(int profile)
{
    return buttons_->ResetProfileKeys(profile);
}

}  // namespace trevolin::profiles
