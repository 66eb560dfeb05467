#include "core/profiles/ApplySnapshot.h"

#include "core/profiles/ProfileHeader.h"
#include "core/profiles/TextArea.h"

#include <limits>
#include <new>

namespace trevolin::profiles {

void ApplySnapshot::Release()
{
    std::lock_guard guard(lock_);
    image_ = ProfileImage();
    std::vector<uint8_t>().swap(textArea_);
}

bool MakeSnapshot(ProfileStore& store, ApplySnapshot& snapshot)
{
    std::lock_guard storeGuard(store.Lock());
    snapshot.Lock().lock();
    snapshot.Release();

    ProfileImage& source = store.Image();
    const uint64_t textBytes = store.Texts().TotalBytes();
    if (!source.HasFixedPart() || textBytes > std::numeric_limits<uint32_t>::max()) {
        snapshot.Lock().unlock();
        return false;
    }
    try {
        ProfileImage copy;
        std::vector<uint8_t> fixedPart(source.FixedPart().begin(), source.FixedPart().end());
        BuildHeader(fixedPart, source.MacroCount(), static_cast<uint32_t>(textBytes), 0);
        // Copies of the store's own parts: they have the sizes the image
        // takes.
        static_cast<void>(copy.SetFixedPart(std::move(fixedPart)));
        static_cast<void>(copy.SetMacroRecords(
            std::vector<uint8_t>(source.MacroRecords().begin(), source.MacroRecords().end()), source.MacroCount()));
        auto area = PackTextArea(source, store.Texts(), static_cast<uint32_t>(textBytes));
        // The offsets just packed belong in the copy as well.
        for (size_t slot = 0; slot < EntryCount; ++slot)
            copy.SetEntryValue(slot, source.EntryValue(slot));
        snapshot.image_ = std::move(copy);
        snapshot.textArea_ = std::move(area);
    } catch (const std::bad_alloc&) {
        snapshot.Release();
        snapshot.Lock().unlock();
        return false;
    }
    return true;
}

}  // namespace trevolin::profiles
