#include "core/macros/MacroEventSpec.h"

#include "core/keyboard/KeyByName.h"
#include "core/keyboard/KeyboardLayout.h"

#include <array>
#include <cctype>
#include <charconv>

namespace trevolin::macros {

namespace {

struct PointerName {
    std::string_view name;
    uint16_t code;
};

constexpr std::array<PointerName, 5> PointerNames = {{
    {"MouseLeft", 0x171},
    {"MouseRight", 0x172},
    {"MouseMiddle", 0x173},
    {"WheelUp", 0x161},
    {"WheelDown", 0x162},
}};

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<uint16_t> KeyCodeOfName(std::string_view name)
{
    for (const auto& p : PointerNames)
        if (SameName(p.name, name))
            return p.code;
    const auto key = keyboard::KeyByName(name);
    if (key && key->kind == keyboard::KeyKind::Layout)
        return keyboard::LayoutKeys()[key->index].scan;
    return std::nullopt;
}

}  // namespace

std::string MacroPointerNameListText()
{
    std::string list;
    for (const auto& p : PointerNames)
        list += (list.empty() ? "" : ", ") + std::string(p.name);
    return list;
}

MacroEventSpecResult ParseMacroEventSpec(std::string_view text)
{
    const auto first = text.find(':');
    if (first == std::string_view::npos)
        return {std::nullopt, "\"" + std::string(text) +
                                  "\" is not an event; expected KEY:down|up[:DELAY_MS], "
                                  "for example LeftCtrl:down:0"};
    const auto second = text.find(':', first + 1);
    const std::string_view name = text.substr(0, first);
    const std::string_view action =
        text.substr(first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1);
    MacroEvent event;
    const auto code = KeyCodeOfName(name);
    if (!code)
        return {std::nullopt, "\"" + std::string(name) + "\" is not a key a macro can press; expected a key name " +
                                  "(" + keyboard::KeyNameListText(keyboard::KeyNameSet::LayoutKeys) + ") or " +
                                  MacroPointerNameListText()};
    event.keyCode = *code;
    if (SameName(action, "down"))
        event.action = MacroEvent::Press;
    else if (SameName(action, "up"))
        event.action = MacroEvent::Release;
    else
        return {std::nullopt, "an event is down or up, not \"" + std::string(action) + "\""};
    if (second != std::string_view::npos) {
        const std::string_view delay = text.substr(second + 1);
        uint32_t ms = 0;
        const auto [end, ec] = std::from_chars(delay.data(), delay.data() + delay.size(), ms);
        if (delay.empty() || ec != std::errc() || end != delay.data() + delay.size() || ms > MaxEventDelayMs)
            return {std::nullopt, "the delay after an event is 0 to 40000 ms, not \"" + std::string(delay) + "\""};
        // The keyboard keeps delays in steps of 10 ms; rounding one would
        // store a delay the user did not write.
        if (ms % 10 != 0)
            return {std::nullopt, "the keyboard keeps delays in steps of 10 ms, so " + std::string(delay) +
                                      " ms cannot be stored; write " + std::to_string(ms / 10 * 10) + " or " +
                                      std::to_string(ms / 10 * 10 + 10)};
        event.delayMs = ms;
    }
    return {event, {}};
}

std::string FormatMacroEventSpec(const MacroEvent& event)
{
    std::string name;
    for (const auto& p : PointerNames)
        if (p.code == event.keyCode)
            name = p.name;
    if (name.empty()) {
        const auto layout = keyboard::LayoutKeys();
        for (size_t i = 0; i < layout.size() && name.empty(); ++i)
            if (layout[i].scan == event.keyCode)
                name = keyboard::NameOfKey({keyboard::KeyKind::Layout, static_cast<uint8_t>(i)});
    }
    if (name.empty())
        return {};
    return name + (event.action == MacroEvent::Press ? ":down:" : ":up:") + std::to_string(event.delayMs);
}

}  // namespace trevolin::macros
