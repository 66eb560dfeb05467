#pragma once

#include "core/base/TextLookup.h"
#include "core/keys/KeyButtonView.h"
#include "core/keys/KeyDescription.h"
#include "core/keys/KeyMapBlock.h"
#include "core/keys/KeyTableStore.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace trevolin::keys {

// Keeps the main window's key buttons showing the active profile's key
// actions: the 105 ordinary keys and the nine G keys of the current bank.
class KeyButtons {
public:
    struct Sources {
        std::function<int()> activeProfile;  // 0 to 2, or -1 when no keyboard said which
        std::function<bool()> gKeyBankB;     // the G keys show bank B's entries
        MacroNameLookup macroNameOfId;
        // The keyboard's default key map, which tells which keys have a
        // position; without it every key counts as available.
        std::function<KeyMapBlock()> defaultKeyMap;
    };

    KeyButtons(KeyTableStore& store, const base::TextLookup& texts, KeyButtonView& view, Sources sources);

    // Describes G1 to G9, then the ordinary keys in layout order. With no
    // active profile no block applies and every key shows unassigned. A key
    // without a position in the default key map shows as not available.
    void RefreshKeyButtons();

    // Gives the shown keys of the active profile back their default action
    // (all 16 bytes of their entries zero; the other bank's G keys keep
    // theirs), shows them unassigned and enables "Apply". With no active
    // profile there is no block to reset: nothing changes and the result is
    // false.
    [[nodiscard]] bool ResetActiveProfileKeys();
    // The same for profile `profile` (0 to 2): its ordinary keys and its G
    // keys of the current bank. The buttons change only when it is the
    // active profile. False for a profile outside the table.
    [[nodiscard]] bool ResetProfileKeys(int profile);

private:
    KeyLook LookOf(bool isGKey, size_t gIndex, uint16_t keyCode, const KeyAction& entry) const;
    std::function<bool(size_t keyNumber)> AvailabilityOfKeys() const;

    KeyTableStore& store_;
    const base::TextLookup& texts_;
    KeyButtonView& view_;
    Sources sources_;
};

}  // namespace trevolin::keys
