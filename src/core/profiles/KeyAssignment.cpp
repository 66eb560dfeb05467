#include "core/profiles/KeyAssignment.h"

#include "core/keys/KeyNumber.h"
#include "core/keys/KeyTable.h"
#include "core/keys/RawAction.h"

#include <mutex>

namespace trevolin::profiles {

std::optional<keys::KeyAction> StoreKeyAssignment(ProfileStore& store, int profile, uint16_t keyNumber,
                                                  const KeyChoice& choice)
{
    if (profile < 0 || profile >= ProfileCount() || keyNumber >= EntriesPerLayer)
        return std::nullopt;
    std::lock_guard lock(store.Lock());
    const size_t slot = ProfileImage::SlotOf(static_cast<size_t>(profile), keyNumber);
    auto entry = store.Image().Entry(slot);
    const auto previous = keys::TryReadKeyAction(entry);
    if (!previous)
        return std::nullopt;

    keys::KeyAction action = *previous;
    // The user's choice replaces a code kept as it stood.
    if (keys::RawCodeOf(action))
        action.reserved = 0;
    action.kind = choice.kind;
    action.extra = keys::GKeyMarker(keyNumber);
    action.value = 0;
    store.Texts().Clear(slot);
    switch (choice.kind) {
    case keys::KeyAction::Key:
        action.value = choice.value;
        if (choice.value == 0 || keys::KeyNumberOf(choice.value) == keyNumber)
            action.kind = keys::KeyAction::Default;
        break;
    case keys::KeyAction::Macro:
        action.value = choice.value;
        action.extra = choice.playCount;
        break;
    case keys::KeyAction::Media:
    case keys::KeyAction::Function:
        action.value = choice.value;
        break;
    default:
        break;
    }
    if (!keys::TryWriteKeyAction(action, entry))
        return std::nullopt;
    return action;
}

std::optional<keys::KeyAction> StoreRawKeyAssignment(ProfileStore& store, int profile, uint16_t keyNumber,
                                                     keys::ActionCode code)
{
    const auto stored = StoreKeyAssignment(store, profile, keyNumber, {keys::KeyAction::Disabled, 0, 1});
    if (!stored)
        return std::nullopt;
    std::lock_guard lock(store.Lock());
    keys::KeyAction action = *stored;
    const keys::KeyAction raw = keys::RawKeyAction(code);
    action.kind = raw.kind;
    action.value = raw.value;
    action.reserved = raw.reserved;
    if (!keys::TryWriteKeyAction(action,
                                 store.Image().Entry(ProfileImage::SlotOf(static_cast<size_t>(profile), keyNumber))))
        return std::nullopt;
    return action;
}

}  // namespace trevolin::profiles
