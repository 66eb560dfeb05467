#pragma once

#include "core/base/TextLookup.h"
#include "core/device/DeviceSession.h"
#include "core/keys/KeyButtonView.h"
#include "core/keys/KeyButtons.h"
#include "core/base/Prompts.h"
#include "core/profiles/ApplySnapshot.h"
#include "core/profiles/KeyboardReadReport.h"
#include "core/profiles/KeyboardWriteReport.h"
#include "core/profiles/OutsideChanges.h"
#include "core/profiles/ProfileFileCheck.h"
#include "core/profiles/ProfileMenu.h"
#include "core/profiles/ProfileStore.h"
#include "core/profiles/ProfileSwitchHooks.h"
#include "core/profiles/StoreKeyTable.h"
#include "core/profiles/UserFolder.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace trevolin::profiles {

// Which key-map blocks a write sends besides the macro area.
enum class WriteScope {
    ActiveProfile,  // the keyboard's active profile (the main window's Apply)
    AllProfiles,    // profiles 0, 1 and 2 (a restore, or a change to another profile)
};

// Language keys of the messages shown here.
inline constexpr std::string_view MacrosTooLongText = "EXTRA_MACRO_TOO_LONG";
inline constexpr std::string_view NamesDroppedText = "EXTRA_PROFILE_SPACE_TIGHT";
inline constexpr std::string_view FormatErrorText = "PROFILE_FORMAT_ERROR";
inline constexpr std::string_view ImportFailedText = "MAIN_PROMPT_INPORT";
inline constexpr std::string_view CloseKeyDialogText = "PROFILE_SEELCT_PROMPT2";
inline constexpr std::string_view ApplyBeforeSwitchText = "PROFILE_SELECT_PROMPT";
inline constexpr std::string_view NotLoadedText = "MAIN_PROMPT_NOT_LOADED";
inline constexpr std::string_view DamagedMacrosText = "MAIN_PROMPT_MACROS_DAMAGED";

// Where the store's key tables and macros came from: what Apply may write.
enum class StoreOrigin {
    NotFromKeyboard,  // nothing read yet, or the default image: the keyboard's tables are unknown
    Keyboard,         // read whole from the keyboard, or taken whole from an exchange file
    DamagedMacros,    // the keyboard's tables, but only the macros before a damaged record
};

// What SelectProfile did.
struct ProfileSelection {
    bool accepted = false;   // SelectProfile's boolean: the same as switched
    int index = -1;          // the index after mapping (3 and above become 0)
    bool asked = false;      // the apply-or-discard question was put
    bool applied = false;    // answered Yes: Apply ran first
    bool discarded = false;  // answered No: the edits were dropped
    bool switched = false;   // the keyboard confirmed the new active profile
};

// The key tables and macros of all three profiles between the working
// store, the profile file, exchange files and the keyboard: loading on
// arrival, Apply, backup and restore, and switching the active profile.
// One instance for the desktop program and the command line alike. The
// operations that talk to the keyboard run on the keyboard thread
// (app::KeyboardApp); they take the store lock only while they read or
// change the store, never across the keyboard's input and output, so a
// window may read the store meanwhile.
//
// The boolean (or integer) results mean what they always meant; the
// optional report arguments say more, for the command line.
class KeyboardProfiles {
public:
    // `keyButtons`, when given, shows the active profile's key actions and
    // outlives this object.
    KeyboardProfiles(ProfileStore& store, device::DeviceSession& session, UserFolder folder,
                     const base::TextLookup& texts, base::Prompts& prompts, keys::KeyButtonView* keyButtons = nullptr);
    ~KeyboardProfiles();
    KeyboardProfiles(const KeyboardProfiles&) = delete;
    KeyboardProfiles& operator=(const KeyboardProfiles&) = delete;

    ProfileStore& Store() { return store_; }
    device::DeviceSession& Session() { return session_; }
    const UserFolder& Folder() const { return folder_; }
    // The store's key table, for key editors.
    keys::KeyTableStore& KeyTable() { return keyTable_; }

    // --- Pending changes (the Apply button) ------------------------------
    bool ChangesPending() const { return pending_.load(); }
    // Editors set it after changing the store; the listener hears every change.
    void SetChangesPending(bool pending);
    void SetPendingListener(std::function<void(bool pending)> listener);
    void SetSwitchHooks(ProfileSwitchHooks hooks);

    // --- Keyboard to program ----------------------------------------------
    // Builds a profile image from the keyboard's three key-map blocks and
    // its macro area and writes it to `path` (atomically: an old file stays
    // whole when anything fails). The image has no texts and layer 3 zero.
    [[nodiscard]] bool ExportKeyboardToFile(const std::string& path, KeyboardReadReport* report = nullptr);

    // The keyboard arrived (or the profile manager applied): the store and
    // the profile file take the keyboard's tables, the default image when
    // the keyboard cannot be read; the key buttons follow. Without
    // `keepPending` the pending changes are cleared.
    LoadReport LoadFromKeyboard(bool keepPending);

    // The profile sync of an arrival: LoadFromKeyboard, then the device
    // link's current profile follows the keyboard's. Returns the active
    // profile (the profile button to check), or -1.
    [[nodiscard]] int OnProfileSync(LoadReport* report = nullptr);

    // --- Program to keyboard ----------------------------------------------
    // A snapshot of the store taken under the store lock, then, with the
    // lock released, the macro area checked against the keyboard's capacity
    // (names dropped when only that makes it fit) and sent, then the blocks,
    // inside one begin/end bracket. True only when the macro area and every
    // block reached the keyboard.
    [[nodiscard]] bool WriteToKeyboard(bool allProfiles, KeyboardWriteReport* report = nullptr);

    // Writes the store to the keyboard and then saves it to the profile file
    // (which thus always holds what the keyboard took), whether or not
    // changes are pending; on success of both the pending changes are
    // cleared, otherwise they stay. The store lock is not held while the
    // keyboard is written; an edit made meanwhile stays pending.
    //
    // The store must hold the keyboard's tables: with the default image in
    // it (the keyboard could not be read) nothing is written, and the user
    // is asked whether to read the keyboard again. With a damaged macro area
    // only the macros before the damage were read; writing them replaces
    // the damaged area, which the user is asked to allow unless
    // `overwriteDamagedMacros` says the caller's user already did. When
    // another program changed the keyboard after the store was read
    // (Outside()), nothing is written once: the caller tells the user, and
    // an Apply the user then repeats writes the store over that change.
    [[nodiscard]] bool Apply(WriteScope scope = WriteScope::ActiveProfile, ApplyReport* report = nullptr,
                             bool overwriteDamagedMacros = false);
    StoreOrigin Origin() const { return origin_.load(); }
    // The store was read without the keyboard's default key map: it lacks
    // some keys' assignments, so it is neither written nor backed up.
    bool MissingKeyAssignments() const { return missingKeyAssignments_.load(); }
    OutsideChanges& Outside() { return outside_; }
    // The Apply button: Apply for the active profile, only when changes are
    // pending (otherwise nothing is written and the result is true).
    [[nodiscard]] bool ApplyChanges(ApplyReport* report = nullptr);

    // --- Exchange files -----------------------------------------------------
    // The verdict on an exchange file (see ProfileFileCheck); a header that
    // breaks a rule is reported with "PROFILE_FORMAT_ERROR" naming the file.
    int ValidateProfileFile(const std::string& path, ProfileFileCheck* check = nullptr);
    // The store, as it is (unapplied edits included), to `path`.
    [[nodiscard]] bool Backup(const std::string& path);
    // Validates `path` ("MAIN_PROMPT_INPORT" when refused or unreadable; the
    // store is then left alone), then the store takes the file, all three
    // profiles and the macros go to the keyboard and, once it took them, the
    // profile file is saved. True when the keyboard got them: the pending
    // changes are then cleared. When the keyboard write fails the user is
    // told, the store keeps the file's content, the profile file its last
    // content and the changes stay pending, so Apply can send them later.
    [[nodiscard]] bool Restore(const std::string& path, RestoreReport* report = nullptr);

    // --- Switching profiles --------------------------------------------------
    // Makes `index` the keyboard's active profile (3 and above select 0; -1
    // asks the keyboard again and changes nothing). Refused while the key
    // assignment dialog is open; with changes pending the user first chooses
    // between applying and discarding them. True only when the keyboard took
    // the new active profile (never for -1); the menu is shown either way.
    [[nodiscard]] bool SelectProfile(int index, ProfileSelection* outcome = nullptr);
    // The menu for the keyboard's active profile.
    ProfileMenu BuildProfileMenu();

    // --- Key buttons ------------------------------------------------------------
    void RefreshKeyButtons();
    // The shown keys of the active profile back to their defaults; changes
    // become pending. False with no active profile.
    [[nodiscard]] bool ResetActiveProfileKeys();
    // The same for profile `profile` (0 to 2), which need not be active.
    [[nodiscard]] bool ResetProfileKeys(int profile);

private:
    class ButtonRelay;

    void Show(std::string_view key, base::Prompts::Style style);
    // A restore that did not happen, with its reason, as a warning.
    void TellRestoreFailed(const std::string& reason);
    [[nodiscard]] bool PutDefaultImage();
    [[nodiscard]] bool DiscardEdits();

    ProfileStore& store_;
    device::DeviceSession& session_;
    UserFolder folder_;
    const base::TextLookup& texts_;
    base::Prompts& prompts_;
    StoreKeyTable keyTable_;
    std::unique_ptr<ButtonRelay> relay_;
    std::unique_ptr<keys::KeyButtons> buttons_;
    ProfileSwitchHooks hooks_;
    std::function<void(bool)> pendingListener_;
    std::atomic<bool> pending_{false};
    // Counts the edits made pending, so that a write can tell whether the
    // store changed after its snapshot.
    std::atomic<uint64_t> edits_{0};
    std::atomic<StoreOrigin> origin_{StoreOrigin::NotFromKeyboard};
    OutsideChanges outside_;
    // The store was read without the keyboard's default key map, so it
    // lacks the assignments of keys the built-in map does not know.
    std::atomic<bool> missingKeyAssignments_{false};
    bool selectPromptOpen_ = false;
};

}  // namespace trevolin::profiles
