#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trevolin::platform {

// A launcher that starts a program gives it a one-time token
// (XDG_ACTIVATION_TOKEN under Wayland) that lets its window come to the
// front. A later start that only hands OPEN to the running instance passes
// its token on in a file beside the instance socket, in the user's private
// runtime folder; the running instance takes it before it shows its window.
// Without it a Wayland compositor keeps the running window where it is.
inline constexpr std::string_view ActivationTokenFile = "VSDRAVIK.activation";

// What a token may be: 1 to 1024 printable ASCII characters, no spaces
// (compositors use far fewer).
bool IsActivationToken(std::string_view token);

// Leaves `token` in `folder` for the running instance. False when it is not
// a token or cannot be written.
[[nodiscard]] bool HandOverActivationToken(const std::string& folder, std::string_view token);

// The token a later start left, removed as it is read; nothing when there
// is none, or what is there is not a token.
std::optional<std::string> TakeActivationToken(const std::string& folder);

}  // namespace trevolin::platform
