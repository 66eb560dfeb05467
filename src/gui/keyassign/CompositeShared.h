#pragma once

#include "core/base/TextLookup.h"
#include "core/keys/KeyCapture.h"
#include "core/macros/MacroEvent.h"

#include <QKeyEvent>
#include <QString>

#include <array>
#include <string_view>

// What the key assignment dialog's two source files share.
namespace trevolin::gui::composite {

// The macro editor's buttons, and those that act on the shown macro's
// events.
inline constexpr std::array MacroButtons = {"FUNC_MACRO_ADD",     "FUNC_MACRO_DELETE", "FUNC_MACRO_RECORD",
                                            "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR",  "FUNC_MACRO_UP_TOP",
                                            "FUNC_MACRO_UP",      "FUNC_MACRO_DOWN",   "FUNC_MACRO_DOWN_BOTTOM"};
inline constexpr std::array EventButtons = {"FUNC_MACRO_RECORD", "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR",
                                            "FUNC_MACRO_UP_TOP",  "FUNC_MACRO_UP",      "FUNC_MACRO_DOWN",
                                            "FUNC_MACRO_DOWN_BOTTOM"};

// A press and a release as the event list shows them.
inline QString PressText()
{
    return QStringLiteral("\u2193");
}
inline QString ReleaseText()
{
    return QStringLiteral("  \u2191");
}
inline QString ActionText(uint16_t action)
{
    return action == macros::MacroEvent::Release ? ReleaseText() : PressText();
}

inline QString TextOf(const base::TextLookup& texts, std::string_view key)
{
    return QString::fromStdString(texts.Text(key));
}

// The key a key event stands for: its native scan code (X11 and Wayland
// give the evdev code plus 8), else its keysym.
inline uint16_t KeyCodeOf(const QKeyEvent& event)
{
    return keys::KeyCodeOfKeyEvent(event.nativeScanCode(), event.nativeVirtualKey());
}

}  // namespace trevolin::gui::composite
