#include "core/keys/KeyDescription.h"

#include "core/keyboard/KeyNames.h"
#include "core/keys/ActionCode.h"
#include "core/keys/MediaFunctions.h"
#include "core/keys/RawAction.h"

#include <string_view>

namespace trevolin::keys {
namespace {

constexpr std::string_view PromptSet = "KEY_PROMPT_SET";
constexpr std::string_view PromptSingle = "KEY_PROMPT_SINGLE";
constexpr std::string_view PromptMouse = "KEY_PROMPT_MOUSE";
constexpr std::string_view PromptMacro = "KEY_PROMPT_MACRO";
constexpr std::string_view PromptMedia = "KEY_PROMPT_MEDIA";
constexpr std::string_view PromptFunction = "KEY_PROMPT_FUNCTION";
constexpr std::string_view PromptRaw = "KEY_PROMPT_RAW";
constexpr std::string_view PromptDisabled = "KEY_PROMPT_DISABLED";
constexpr std::string_view PromptStopMacro = "KEY_PROMPT_STOP_MACRO";
constexpr std::string_view PromptLaunch = "KEY_PROMPT_LAUNCH";
constexpr std::string_view PromptText = "KEY_PROMPT_TEXT";
constexpr std::string_view PromptOther = "KEY_PROMPT_OTHER";
constexpr std::string_view FunctionTextPrefix = "FUNC_KEY_DESC";

std::string KeyName(const base::TextLookup& texts, uint32_t keyCode)
{
    return keyboard::KeyNameFromScan(texts, keyCode, TooltipMaxCharacters + 1);
}

bool IsMouseCode(uint32_t keyCode)
{
    return keyCode == LeftButtonKeyCode || keyCode == RightButtonKeyCode || keyCode == MiddleButtonKeyCode ||
           keyCode == WheelUpKeyCode || keyCode == WheelDownKeyCode;
}

// What the key does, named for a person: the kind, and the key, macro,
// media or function where the kind has one.
std::string ActionText(const base::TextLookup& texts, const KeyAction& entry, const MacroNameLookup& macroNameOfId)
{
    // A macro number past the list is kept as a raw code, but what the user
    // needs to know is which macro is missing.
    if (const auto raw = RawCodeOf(entry); raw && entry.kind != KeyAction::Macro)
        return texts.Text(PromptRaw) + RawCodeText(*raw);
    switch (entry.kind) {
    case KeyAction::Disabled:
        return texts.Text(PromptDisabled);
    case KeyAction::Key:
        return texts.Text(IsMouseCode(entry.value) ? PromptMouse : PromptSingle) + KeyName(texts, entry.value);
    case KeyAction::LaunchProgram:
        return texts.Text(PromptLaunch);
    case KeyAction::Macro:
        return texts.Text(PromptMacro) + (macroNameOfId ? macroNameOfId(static_cast<uint16_t>(entry.value)) : "");
    case KeyAction::StopMacro:
        return texts.Text(PromptStopMacro);
    case KeyAction::TextBlock:
        return texts.Text(PromptText);
    case KeyAction::Media:
        // An index past the table names no key; "UNKNOWN_KEY 0" would
        // suggest one.
        return texts.Text(PromptMedia) +
               (entry.value < MediaFunctionCount ? KeyName(texts, MediaKeyCode(entry.value)) : "");
    case KeyAction::Function:
        return texts.Text(PromptFunction) +
               texts.Text(std::string(FunctionTextPrefix) + std::to_string(uint64_t{entry.value} + 1));
    default:
        return texts.Text(PromptOther);
    }
}

// The language texts are appended as they stand: none of them is a format.
KeyLook Describe(const base::TextLookup& texts, std::string name, const KeyAction& entry,
                 const MacroNameLookup& macroNameOfId)
{
    if (entry.kind == KeyAction::Default)
        return {false, keyboard::CutToCharacters(std::move(name), TooltipMaxCharacters)};
    std::string tooltip = std::move(name);
    tooltip += texts.Text(PromptSet);
    tooltip += ActionText(texts, entry, macroNameOfId);
    return {true, keyboard::CutToCharacters(std::move(tooltip), TooltipMaxCharacters)};
}

}  // namespace

KeyLook DescribeKeyAction(const base::TextLookup& texts, uint32_t keyCode, const KeyAction& entry,
                          const MacroNameLookup& macroNameOfId)
{
    return Describe(texts, KeyName(texts, keyCode), entry, macroNameOfId);
}

KeyLook DescribeGKeyAction(const base::TextLookup& texts, size_t gIndex, const KeyAction& entry,
                           const MacroNameLookup& macroNameOfId)
{
    return Describe(texts, "G" + std::to_string(gIndex + 1), entry, macroNameOfId);
}

}  // namespace trevolin::keys
