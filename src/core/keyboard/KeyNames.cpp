#include "core/keyboard/KeyNames.h"

#include "core/keyboard/KeyCodeTable.h"
#include "core/base/FormatText.h"

#include <algorithm>

namespace trevolin::keyboard {
namespace {

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string CutToCharacters(std::string text, size_t maxCharacters)
{
    // A character is a lead byte and up to three continuation bytes; stray
    // continuation bytes count as characters of their own.
    size_t characters = 0;
    size_t bytesInCharacter = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsContinuationByte(text[i]) && bytesInCharacter > 0 && bytesInCharacter < 4) {
            ++bytesInCharacter;
            continue;
        }
        if (characters == maxCharacters) {
            text.resize(i);
            break;
        }
        ++characters;
        bytesInCharacter = 1;
    }
    return text;
}

std::string KeyNameFromScan(const base::TextLookup& texts, uint32_t scan, size_t capacity)
{
    if (capacity == 0)
        return {};
    const KeyCode& row = KeyCodeOfScan(scan);
    std::string name;
    if (!row.languageKey.empty())
        name = texts.Text(row.languageKey);
    if (name.empty())
        name = base::FormatText(texts.Text(UnknownKeyTextKey), scan);
    return CutToCharacters(std::move(name), capacity - 1);
}

std::string KeyNameFromKeyId(const base::TextLookup& texts, uint32_t keyId)
{
    if (keyId == KeyCode::EmptyKeyId)
        return {};
    for (uint32_t index = 0; index < KeyCodeRowCount; ++index) {
        const KeyCode& row = KeyCodeRow(index);
        if (row.keyId != keyId)
            continue;
        if (row.languageKey.empty())
            return {};
        return texts.Text(row.languageKey);
    }
    return {};
}

std::vector<std::string_view> KeyNameLanguageKeys()
{
    std::vector<std::string_view> keys;
    for (uint32_t index = 0; index < KeyCodeRowCount; ++index) {
        const std::string_view key = KeyCodeRow(index).languageKey;
        if (!key.empty() && std::find(keys.begin(), keys.end(), key) == keys.end())
            keys.push_back(key);
    }
    keys.push_back(UnknownKeyTextKey);
    return keys;
}

}  // namespace trevolin::keyboard
