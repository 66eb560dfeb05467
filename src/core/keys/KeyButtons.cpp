#include "core/keys/KeyButtons.h"

#include "core/keyboard/KeyboardLayout.h"
#include "core/keys/KeyTable.h"

#include <array>
#include <optional>
#include <utility>

namespace trevolin::keys {
namespace {

struct ShownKey {
    uint16_t controlId = 0;
    size_t entry = 0;
    bool isGKey = false;
    size_t gIndex = 0;
    uint16_t keyCode = 0;
};

constexpr size_t ShownKeyCount = keyboard::GKeyCount + keyboard::LayoutKeyCount;

// G1 to G9 of the current bank, then the ordinary keys in layout order.
std::array<ShownKey, ShownKeyCount> ShownKeys(bool gKeyBankB)
{
    std::array<ShownKey, ShownKeyCount> keys{};
    size_t i = 0;
    const auto gIds = keyboard::GKeyControlIds();
    for (size_t g = 0; g < keyboard::GKeyCount; ++g)
        keys[i++] = {gIds[g], keyboard::GKeyNumber(g, gKeyBankB), true, g, 0};
    for (const keyboard::LayoutKey& key : keyboard::LayoutKeys())
        keys[i++] = {key.controlId, key.keyNumber, false, 0, key.scan};
    return keys;
}

std::optional<size_t> ProfileBlock(int profile)
{
    if (profile < 0 || static_cast<size_t>(profile) >= KeyTableProfileCount)
        return std::nullopt;
    return static_cast<size_t>(profile);
}

}  // namespace

KeyButtons::KeyButtons(KeyTableStore& store, const base::TextLookup& texts, KeyButtonView& view, Sources sources)
    : store_(store),
      texts_(texts),
      view_(view),
      sources_(std::move(sources))
{
}

void KeyButtons::RefreshKeyButtons()
{
    const std::optional<size_t> block = ProfileBlock(sources_.activeProfile ? sources_.activeProfile() : -1);
    const auto keys = ShownKeys(sources_.gKeyBankB && sources_.gKeyBankB());

    std::array<KeyAction, ShownKeyCount> entries{};
    if (block) {
        std::lock_guard lock(store_.StoreLock());
        for (size_t i = 0; i < keys.size(); ++i) {
            // An entry the image cannot hand over shows as unassigned.
            entries[i] = TryReadKeyAction(store_.EntryBytes(*block, keys[i].entry)).value_or(KeyAction{});
        }
    }
    // The view and the macro names are reached outside the lock; the macro
    // lookup takes the store lock itself.
    const auto available = AvailabilityOfKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
        KeyLook look = LookOf(keys[i].isGKey, keys[i].gIndex, keys[i].keyCode, entries[i]);
        look.available = available(keys[i].entry);
        view_.ShowKeyLook(keys[i].controlId, look);
    }
}

bool KeyButtons::ResetActiveProfileKeys()
{
    return ResetProfileKeys(sources_.activeProfile ? sources_.activeProfile() : -1);
}

bool KeyButtons::ResetProfileKeys(int profile)
{
    const std::optional<size_t> block = ProfileBlock(profile);
    if (!block)
        return false;
    const auto keys = ShownKeys(sources_.gKeyBankB && sources_.gKeyBankB());
    {
        std::lock_guard lock(store_.StoreLock());
        for (const ShownKey& key : keys)
            // An entry the store does not hold has nothing to reset.
            static_cast<void>(TryWriteKeyAction(KeyAction{}, store_.EntryBytes(*block, key.entry)));
    }
    if (sources_.activeProfile && sources_.activeProfile() == profile) {
        const auto available = AvailabilityOfKeys();
        for (const ShownKey& key : keys) {
            KeyLook look = LookOf(key.isGKey, key.gIndex, key.keyCode, KeyAction{});
            look.available = available(key.entry);
            view_.ShowKeyLook(key.controlId, look);
        }
    }
    view_.EnableApply();
    return true;
}

std::function<bool(size_t keyNumber)> KeyButtons::AvailabilityOfKeys() const
{
    if (!sources_.defaultKeyMap)
        return [](size_t) { return true; };
    return [map = sources_.defaultKeyMap()](size_t keyNumber) { return KeyHasPosition(map, keyNumber); };
}

KeyLook KeyButtons::LookOf(bool isGKey, size_t gIndex, uint16_t keyCode, const KeyAction& entry) const
{
    return isGKey ? DescribeGKeyAction(texts_, gIndex, entry, sources_.macroNameOfId)
                  : DescribeKeyAction(texts_, keyCode, entry, sources_.macroNameOfId);
}

}  // namespace trevolin::keys
