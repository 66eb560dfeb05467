#include "core/keys/RawAction.h"

#include "core/keys/KeyActionCodec.h"

#include <charconv>
#include <cstdio>

namespace trevolin::keys {

KeyAction RawKeyAction(ActionCode code)
{
    KeyAction action = DecodeKeyAction(code);
    action.reserved =
        uint32_t{code.actionClass} | uint32_t{code.sub} << 8 | uint32_t{code.data} << 16 | uint32_t{RawMarker} << 24;
    return action;
}

std::optional<ActionCode> RawCodeOf(const KeyAction& action)
{
    if (action.reserved >> 24 != RawMarker)
        return std::nullopt;
    const ActionCode code{static_cast<uint8_t>(action.reserved), static_cast<uint8_t>(action.reserved >> 8),
                          static_cast<uint8_t>(action.reserved >> 16)};
    const KeyAction plain = DecodeKeyAction(code);
    if (plain.kind != action.kind || plain.value != action.value)
        return std::nullopt;
    return code;
}

std::string RawCodeText(ActionCode code)
{
    char text[12];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X", code.actionClass, code.sub, code.data);
    return text;
}

std::optional<ActionCode> ParseRawCodeText(std::string_view text)
{
    if (text.size() != 8 || text[2] != '-' || text[5] != '-')
        return std::nullopt;
    uint8_t bytes[3] = {};
    for (size_t i = 0; i < 3; ++i) {
        const char* first = text.data() + i * 3;
        const auto [end, ec] = std::from_chars(first, first + 2, bytes[i], 16);
        if (ec != std::errc() || end != first + 2)
            return std::nullopt;
    }
    return ActionCode{bytes[0], bytes[1], bytes[2]};
}

}  // namespace trevolin::keys
