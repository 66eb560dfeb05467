#include "core/profiles/ApplySnapshot.h"

#include "core/profiles/ProfileHeader.h"
#include "core/profiles/StoreMacroList.h"
#include "core/profiles/TextArea.h"

#include <limits>
#include <mutex>
#include <new>

namespace trevolin::profiles {

uint32_t ApplySnapshot::MacroPosition(uint16_t id) const
{
    return static_cast<uint32_t>(FindMacroPosition(image_, id).value_or(0));
}

std::optional<ApplySnapshot> MakeSnapshot(ProfileStore& store)
{
    std::lock_guard storeGuard(store.Lock());
    ProfileImage& source = store.Image();
    const uint64_t textBytes = store.Texts().TotalBytes();
    if (!source.HasFixedPart() || textBytes > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    try {
        ApplySnapshot snapshot;
        std::vector<uint8_t> fixedPart(source.FixedPart().begin(), source.FixedPart().end());
        BuildHeader(fixedPart, source.MacroCount(), static_cast<uint32_t>(textBytes), 0);
        // Copies of the store's own parts: they have the sizes the image
        // takes.
        static_cast<void>(snapshot.image_.SetFixedPart(std::move(fixedPart)));
        static_cast<void>(snapshot.image_.SetMacroRecords(
            std::vector<uint8_t>(source.MacroRecords().begin(), source.MacroRecords().end()), source.MacroCount()));
        snapshot.textArea_ = PackTextArea(source, store.Texts(), static_cast<uint32_t>(textBytes));
        // The offsets just packed belong in the copy as well.
        for (size_t slot = 0; slot < EntryCount; ++slot)
            snapshot.image_.SetEntryValue(slot, source.EntryValue(slot));
        return snapshot;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace trevolin::profiles
