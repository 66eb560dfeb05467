#pragma once

#include "core/app/KeyboardApp.h"
#include "core/base/TextLookup.h"
#include "core/device/HidLibrary.h"
#include "core/profiles/KeyboardWriteReport.h"

#include <string>
#include <string_view>

namespace trevolin::app {

// The sentences both front ends use to say what went wrong with the
// keyboard: looked up in the language file, with an English text where the
// file has none, and filled in with what the core knows.
namespace message {
inline constexpr std::string_view ApplyFailed = "MAIN_APPLY_FAILED";
inline constexpr std::string_view ApplyChangedElsewhere = "MAIN_APPLY_CHANGED_ELSEWHERE";
inline constexpr std::string_view SaveFailed = "MAIN_SAVE_FAILED";
inline constexpr std::string_view SwitchFailed = "MAIN_SWITCH_FAILED";
inline constexpr std::string_view RateFailed = "MAIN_RATE_FAILED";
inline constexpr std::string_view LightFailed = "MAIN_LIGHT_FAILED";
inline constexpr std::string_view LightUnread = "MAIN_LIGHT_UNREAD";
inline constexpr std::string_view RestoreAsk = "MAIN_PROMPT_RESTORE";
inline constexpr std::string_view RestoreDone = "MAIN_RESTORE_DONE";
inline constexpr std::string_view BackupDone = "MAIN_BACKUP_DONE";
inline constexpr std::string_view BackupFailed = "MAIN_BACKUP_FAILED";
inline constexpr std::string_view BackupNotRead = "MAIN_BACKUP_NOT_READ";
inline constexpr std::string_view BackupLacksKeys = "MAIN_BACKUP_LACKS_KEYS";
inline constexpr std::string_view ExitPending = "MAIN_PROMPT_EXIT_PENDING";
inline constexpr std::string_view KeyboardLeft = "MAIN_KEYBOARD_LEFT";
inline constexpr std::string_view Reading = "PROFILE_LOAD_PROMPT";
inline constexpr std::string_view ReadFailed = "MAIN_READ_FAILED";
inline constexpr std::string_view ReadFailedTip = "MAIN_READ_FAILED_TIP";
inline constexpr std::string_view ReadAgain = "MAIN_READ_AGAIN";
inline constexpr std::string_view NoDevice = "MAIN_NO_DEVICE_PROMPT";
inline constexpr std::string_view NoPermission = "MAIN_NO_PERMISSION";
inline constexpr std::string_view ChangedElsewhere = "MAIN_PROMPT_CHANGED_ELSEWHERE";
inline constexpr std::string_view HelpMissing = "MAIN_HELP_MISSING";
}  // namespace message

// The language file's text under `key`, or `english` where it has none.
std::string TextOr(const base::TextLookup& texts, std::string_view key, std::string_view english);

// Why an Apply did not reach the keyboard or the profile file, and what
// is left: "The changes did not reach the keyboard: the keyboard refused
// the write. Written: ... They stay pending: press Apply to try again."
std::string ApplyFailureText(const profiles::ApplyReport& report, const base::TextLookup& texts,
                             const std::string& profileFolder);
// A write of the key tables and macros that failed, without the advice.
std::string WriteFailureText(const profiles::KeyboardWriteReport& write, const base::TextLookup& texts);

// Why no keyboard could be used, for the window's no-keyboard state and
// the command line. `simulated`: the simulated keyboard is the one meant.
struct AbsenceText {
    bool permission = false;  // a keyboard is there but may not be opened
    std::string sentence;     // one or two sentences for a window
    std::string remedy;       // the commands that grant access (permission only)
};
AbsenceText DescribeAbsence(const device::DeviceProblem& problem, bool simulated, const base::TextLookup& texts);

// Why the transport library could not be used, in one English clause.
std::string OpenErrorText(KeyboardApp::OpenError error, const std::string& libraryName, const std::string& detail);

}  // namespace trevolin::app
