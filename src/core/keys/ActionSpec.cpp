#include "core/keys/ActionSpec.h"

#include "core/keyboard/KeyByName.h"
#include "core/keyboard/KeyboardLayout.h"
#include "core/keys/MediaFunctions.h"
#include "core/keys/RawAction.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace trevolin::keys {

namespace {

constexpr std::array<std::string_view, MediaFunctionCount> MediaNames = {
    "player",
    "play-pause",
    "stop",
    "previous",
    "next",
    "volume-down",
    "volume-up",
    "mute",
    "browser-home",
    "browser-refresh",
    "browser-stop",
    "browser-back",
    "browser-forward",
    "browser-favorites",
    "browser-search",
    "my-computer",
    "calculator",
    "mail",
};

constexpr uint32_t MouseLeft = 0x171;
constexpr uint32_t MouseRight = 0x172;
constexpr uint32_t MouseMiddle = 0x173;
constexpr uint32_t WheelUp = 0x161;
constexpr uint32_t WheelDown = 0x162;

// Lower case, without spaces, hyphens and underscores: "Volume_Up" and
// "volume up" both match "volume-up".
std::string Fold(std::string_view text)
{
    std::string folded;
    for (char c : text)
        if (c != ' ' && c != '-' && c != '_')
            folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

ActionSpecResult Fail(std::string error)
{
    return {std::nullopt, std::move(error)};
}

ActionSpecResult Ok(uint16_t kind, uint32_t value, std::string macroRef = {})
{
    return {ActionSpec{kind, value, std::move(macroRef), std::nullopt}, {}};
}

std::optional<uint32_t> ParseNumber(std::string_view text)
{
    uint32_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return n;
}

}  // namespace

std::string_view MediaName(uint32_t mediaIndex)
{
    return mediaIndex < MediaNames.size() ? MediaNames[mediaIndex] : std::string_view();
}

std::string MediaNameListText()
{
    std::string list;
    for (auto name : MediaNames)
        list += (list.empty() ? "" : ", ") + std::string(name);
    return list;
}

ActionSpecResult ParseActionSpec(std::string_view text)
{
    constexpr const char* Expected =
        "expected key:NAME, mouse:left|right|middle, wheel:up|down, media:NAME, function:1..11, "
        "macro:ID|NAME, stop-macro, disabled, raw:XX-XX-XX or default";
    const auto colon = text.find(':');
    const std::string kind = Fold(text.substr(0, colon));
    const std::string_view argument = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
    const std::string folded = Fold(argument);

    if (colon == std::string_view::npos) {
        if (kind == "default")
            return Ok(KeyAction::Default, 0);
        if (kind == "disabled")
            return Ok(KeyAction::Disabled, 0);
        if (kind == "stopmacro")
            return Ok(KeyAction::StopMacro, 0);
        return Fail(std::string("unknown action \"") + std::string(text) + "\": " + Expected);
    }

    if (kind == "key") {
        const auto key = keyboard::KeyByName(argument);
        if (!key || key->kind != keyboard::KeyKind::Layout)
            return Fail("'" + std::string(argument) + "' is not a key Trevolin can send. Keys it can send: " +
                        keyboard::KeyNameListText(keyboard::KeyNameSet::LayoutKeys));
        return Ok(KeyAction::Key, keyboard::LayoutKeys()[key->index].scan);
    }
    if (kind == "mouse") {
        if (folded == "left")
            return Ok(KeyAction::Key, MouseLeft);
        if (folded == "right")
            return Ok(KeyAction::Key, MouseRight);
        if (folded == "middle")
            return Ok(KeyAction::Key, MouseMiddle);
        return Fail("mouse takes left, right or middle, not \"" + std::string(argument) + "\"");
    }
    if (kind == "wheel") {
        if (folded == "up")
            return Ok(KeyAction::Key, WheelUp);
        if (folded == "down")
            return Ok(KeyAction::Key, WheelDown);
        return Fail("wheel takes up or down, not \"" + std::string(argument) + "\"");
    }
    if (kind == "media") {
        for (uint32_t i = 0; i < MediaNames.size(); ++i)
            if (Fold(MediaNames[i]) == folded)
                return Ok(KeyAction::Media, i);
        return Fail("\"" + std::string(argument) +
                    "\" is not a media function; expected one of: " + MediaNameListText());
    }
    if (kind == "function") {
        const auto n = ParseNumber(argument);
        if (!n || *n < 1 || *n > KeyboardFunctionCount)
            return Fail("function takes a number from 1 to 11, not \"" + std::string(argument) + "\"");
        return Ok(KeyAction::Function, *n - 1);
    }
    if (kind == "macro") {
        if (argument.empty())
            return Fail("macro takes a macro's id or name");
        return Ok(KeyAction::Macro, 0, std::string(argument));
    }
    if (kind == "raw") {
        const auto code = ParseRawCodeText(argument);
        if (!code)
            return Fail("raw takes three hexadecimal bytes such as 04-81-00, not \"" + std::string(argument) + "\"");
        ActionSpecResult result = Ok(KeyAction::Disabled, 0);
        result.spec->rawCode = code;
        return result;
    }
    return Fail(std::string("unknown action \"") + std::string(text) + "\": " + Expected);
}

std::string FormatActionSpec(const KeyAction& action, std::string_view macroName)
{
    if (const auto raw = RawCodeOf(action))
        return "raw:" + RawCodeText(*raw);
    switch (action.kind) {
    case KeyAction::Default:
        return "default";
    case KeyAction::Disabled:
        return "disabled";
    case KeyAction::StopMacro:
        return "stop-macro";
    case KeyAction::Key:
        switch (action.value) {
        case MouseLeft:
            return "mouse:left";
        case MouseRight:
            return "mouse:right";
        case MouseMiddle:
            return "mouse:middle";
        case WheelUp:
            return "wheel:up";
        case WheelDown:
            return "wheel:down";
        }
        for (const auto& key : keyboard::LayoutKeys())
            if (key.scan == action.value) {
                const auto index = static_cast<uint8_t>(&key - keyboard::LayoutKeys().data());
                return "key:" + std::string(keyboard::NameOfKey({keyboard::KeyKind::Layout, index}));
            }
        return "";
    case KeyAction::Media: {
        const auto name = MediaName(action.value);
        return name.empty() ? "" : "media:" + std::string(name);
    }
    case KeyAction::Function:
        return action.value < KeyboardFunctionCount ? "function:" + std::to_string(action.value + 1) : "";
    case KeyAction::Macro:
        return "macro:" + (macroName.empty() ? std::to_string(action.value) : std::string(macroName));
    }
    return "";
}

}  // namespace trevolin::keys
