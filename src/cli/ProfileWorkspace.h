#pragma once

#include "cli/CliCommand.h"
#include "cli/KeyboardConnection.h"
#include "cli/TerminalPrompts.h"
#include "core/profiles/KeyboardProfiles.h"
#include "core/profiles/ProfileStore.h"

#include <utility>

#include <memory>

namespace trevolin::cli {

// The keyboard's key tables and macros in a working store, loaded the way
// the desktop program loads them when the keyboard arrives (which also
// refreshes the profile file in the user folder), and written back the way
// Apply and restore write them.
class ProfileWorkspace {
public:
    // On failure returns null, says why and sets `exitCode`. Without
    // `needKeyboardTables` a keyboard whose tables cannot be read is no
    // failure (the user is told): a restore replaces everything, so it
    // must not depend on reading what it replaces.
    static std::unique_ptr<ProfileWorkspace> Open(CliContext& context, int& exitCode, bool needKeyboardTables = true);

    profiles::KeyboardProfiles& Profiles() { return connection_->App().Profiles(); }
    profiles::ProfileStore& Store() { return connection_->App().Store(); }
    device::DeviceSession& Session() { return connection_->Session(); }
    app::KeyboardApp& App() { return connection_->App(); }
    TerminalPrompts& Prompts() { return connection_->Prompts(); }
    int ActiveProfile() const { return activeProfile_; }

    // Runs a keyboard sequence on the keyboard thread and waits for it.
    template <class Sequence>
    auto Call(Sequence&& sequence)
    {
        return connection_->Call(std::forward<Sequence>(sequence));
    }

    // Saves the profile file and writes the keyboard: the active profile's
    // block, or all three. Returns the exit code, having said what failed.
    int Apply(profiles::WriteScope scope);

    // The exit code for a failed write, after saying why.
    int ReportWriteFailure(const profiles::KeyboardWriteReport& write);

private:
    explicit ProfileWorkspace(CliContext& context) : context_(context) {}

    CliContext& context_;
    std::unique_ptr<KeyboardConnection> connection_;
    int activeProfile_ = -1;
};

// The index of the profile the command line numbered 1 to 3, or the active
// profile's when none was given (-1).
int ProfileOrActive(int requestedNumber, int active);

}  // namespace trevolin::cli
