#pragma once

#include "cli/CliCommand.h"
#include "cli/KeyboardConnection.h"
#include "core/lighting/LightingController.h"
#include "core/lighting/LightingFiles.h"

#include <memory>
#include <optional>
#include <string_view>
#include <utility>

namespace trevolin::cli {

// The lighting of one profile, read back the way the desktop program reads
// it when the keyboard arrives, ready for one change.
//
// By default the keyboard's active profile. Another profile can be named:
// the keyboard addresses each profile's lighting record and colour page by
// its offset, whichever profile is active, so its lighting is read and
// written without switching the keyboard to it (the window can only show the
// active profile; the keyboard shows another one's lighting once it is
// chosen).
class LightSession {
public:
    // On failure returns null, says why on the error stream and sets
    // `exitCode`.
    static std::unique_ptr<LightSession> Open(CliContext& context, int& exitCode,
                                              std::optional<int> profile = std::nullopt);

    lighting::LightingController& Controller() { return connection_->App().Lighting(); }
    const lighting::LightingFiles& Files() const { return connection_->App().LightingFiles(); }
    int Profile() const { return profile_; }
    // Whether Profile() is the keyboard's active profile.
    bool ProfileActive() const { return profileActive_; }
    bool PerKeyOffered();

    // Runs a keyboard sequence on the keyboard thread and waits for it.
    template <class Sequence>
    auto Call(Sequence&& sequence)
    {
        return connection_->Call(std::forward<Sequence>(sequence));
    }

    // ExitOk for a device result of 1; otherwise says on the context's error
    // stream that `what`
    // (for example "set the brightness") failed and why, and gives
    // ExitKeyboardError.
    static int Report(const CliContext& context, int result, std::string_view what);
    // The same for a change: a change is several writes, and a refused one
    // may follow some that reached the keyboard, so the lighting is read
    // back and what the keyboard holds now is said as well.
    int ReportChange(const CliContext& context, int result, std::string_view what);

private:
    LightSession(std::unique_ptr<KeyboardConnection> connection, int profile, bool profileActive);

    std::unique_ptr<KeyboardConnection> connection_;
    int profile_;
    bool profileActive_;
};

}  // namespace trevolin::cli
