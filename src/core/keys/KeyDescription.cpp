#include "core/keys/KeyDescription.h"

#include "core/keyboard/KeyNames.h"
#include "core/keys/MediaFunctions.h"
#include "core/keys/RawAction.h"

#include <string_view>

namespace trevolin::keys {
namespace {

constexpr std::string_view PromptSet = "KEY_PROMPT_SET";
constexpr std::string_view PromptSingle = "KEY_PROMPT_SINGLE";
constexpr std::string_view PromptMacro = "KEY_PROMPT_MACRO";
constexpr std::string_view PromptMedia = "KEY_PROMPT_MEDIA";
constexpr std::string_view PromptFunction = "KEY_PROMPT_FUNCTION";
constexpr std::string_view PromptRaw = "KEY_PROMPT_RAW";
constexpr std::string_view FunctionTextPrefix = "FUNC_KEY_DESC";

std::string KeyName(const app::TextLookup& texts, uint32_t keyCode)
{
    return keyboard::KeyNameFromScan(texts, keyCode, TooltipMaxCharacters + 1);
}

// The language texts are appended as they stand: none of them is a format.
KeyLook Describe(const app::TextLookup& texts, std::string name, const KeyAction& entry,
                 const MacroNameLookup& macroNameOfId)
{
    if (entry.kind == KeyAction::Default)
        return {false, keyboard::CutToCharacters(std::move(name), TooltipMaxCharacters)};

    std::string tooltip = std::move(name);
    tooltip += texts.Text(PromptSet);
    // A macro number past the list is kept as a raw code, but what the user
    // needs to know is which macro is missing.
    if (const auto raw = RawCodeOf(entry); raw && entry.kind != KeyAction::Macro) {
        tooltip += texts.Text(PromptRaw);
        tooltip += RawCodeText(*raw);
        tooltip += ')';
        return {true, keyboard::CutToCharacters(std::move(tooltip), TooltipMaxCharacters)};
    }
    switch (entry.kind) {
    case KeyAction::Key:
        tooltip += texts.Text(PromptSingle);
        tooltip += KeyName(texts, entry.value);
        tooltip += ')';
        break;
    case KeyAction::Macro:
        tooltip += texts.Text(PromptMacro);
        if (macroNameOfId)
            tooltip += macroNameOfId(static_cast<uint16_t>(entry.value));
        tooltip += ')';
        break;
    case KeyAction::Media:
        tooltip += texts.Text(PromptMedia);
        // An index past the table names no key; "UNKNOWN_KEY 0" would
        // suggest one.
        if (entry.value < MediaFunctionCount)
            tooltip += KeyName(texts, MediaKeyCode(entry.value));
        tooltip += ')';
        break;
    case KeyAction::Function:
        tooltip += texts.Text(PromptFunction);
        tooltip += texts.Text(std::string(FunctionTextPrefix) + std::to_string(uint64_t{entry.value} + 1));
        tooltip += ')';
        break;
    default:
        break;
    }
    return {true, keyboard::CutToCharacters(std::move(tooltip), TooltipMaxCharacters)};
}

}  // namespace

KeyLook DescribeKeyAction(const app::TextLookup& texts, uint32_t keyCode, const KeyAction& entry,
                          const MacroNameLookup& macroNameOfId)
{
    return Describe(texts, KeyName(texts, keyCode), entry, macroNameOfId);
}

KeyLook DescribeGKeyAction(const app::TextLookup& texts, size_t gIndex, const KeyAction& entry,
                           const MacroNameLookup& macroNameOfId)
{
    return Describe(texts, "G" + std::to_string(gIndex + 1), entry, macroNameOfId);
}

}  // namespace trevolin::keys
