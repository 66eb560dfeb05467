#include "core/profiles/StoreMacroList.h"

#include "core/keys/KeyAction.h"
#include "core/keys/RawAction.h"
#include "core/macros/MacroText.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <optional>

namespace trevolin::profiles {

using macros::Macro;

static_assert(MacroRecordSize == Macro::Size);
static_assert(MaxMacroCount == macros::MaxMacroCount);

std::optional<size_t> FindMacroPosition(const ProfileImage& image, uint16_t id)
{
    for (size_t position = 0; position < image.MacroCount(); ++position) {
        if (Macro::ReadId(image.MacroRecord(position)) == id)
            return position;
    }
    return std::nullopt;
}

int MacroPositionOfId(ProfileStore& store, uint16_t id)
{
    std::lock_guard guard(store.Lock());
    return static_cast<int>(FindMacroPosition(store.Image(), id).value_or(0));
}

uint16_t MacroIdAt(ProfileStore& store, int position)
{
    std::lock_guard guard(store.Lock());
    if (position < 0)
        return 0;
    return Macro::ReadId(store.Image().MacroRecord(static_cast<size_t>(position)));
}

std::string MacroNameOfId(ProfileStore& store, uint16_t id)
{
    std::lock_guard guard(store.Lock());
    const auto position = FindMacroPosition(store.Image(), id);
    if (!position)
        return {};
    try {
        return macros::Utf16ToUtf8(Macro::ReadName(store.Image().MacroRecord(*position)));
    } catch (const std::bad_alloc&) {
        return {};
    }
}

bool KeysPlayMacro(ProfileStore& store, uint16_t id)
{
    std::lock_guard guard(store.Lock());
    const ProfileImage& image = store.Image();
    for (size_t slot = 0; slot < EntryCount; ++slot)
        if (image.EntryKind(slot) == keys::KeyAction::Macro && (image.EntryValue(slot) & 0xFFFF) == id)
            return true;
    return false;
}

bool ReadMacroList(ProfileStore& store, std::vector<Macro>& out)
{
    std::lock_guard guard(store.Lock());
    const ProfileImage& image = store.Image();
    try {
        std::vector<Macro> list;
        list.reserve(image.MacroCount());
        for (size_t position = 0; position < image.MacroCount(); ++position)
            list.push_back(Macro::Read(image.MacroRecord(position)));
        out = std::move(list);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

size_t RaiseZeroPlayCounts(ProfileStore& store)
{
    std::lock_guard guard(store.Lock());
    ProfileImage& image = store.Image();
    size_t raised = 0;
    for (size_t position = 0; position < image.MacroCount(); ++position) {
        const auto record = image.MacroRecord(position);
        if (record[Macro::PlayCountOffset] == 0) {
            record[Macro::PlayCountOffset] = 1;
            ++raised;
        }
    }
    return raised;
}

MacroCommit CommitMacroList(ProfileStore& store, std::span<const Macro> records)
{
    MacroCommit result;
    if (records.size() > MaxMacroCount)
        return result;
    const auto count = static_cast<uint16_t>(records.size());

    // Built completely before the store is touched, so that running out of
    // memory leaves both the list and the key tables as they were.
    std::vector<uint8_t> block;
    try {
        block.resize(records.size() * Macro::Size);
        for (size_t i = 0; i < records.size(); ++i) {
            Macro stored = records[i];
            stored.isNew = 0;
            stored.Write(std::span(block).subspan(i * Macro::Size, Macro::Size));
        }
    } catch (const std::bad_alloc&) {
        return result;
    }

    std::lock_guard guard(store.Lock());
    ProfileImage& image = store.Image();
    for (size_t slot = 0; slot < EntryCount; ++slot) {
        if (image.EntryKind(slot) != keys::KeyAction::Macro)
            continue;
        // A macro number past the keyboard's list, kept as the keyboard
        // held it, names no macro of the list to follow.
        if (const auto entry = keys::TryReadKeyAction(image.Entry(slot)); entry && keys::RawCodeOf(*entry))
            continue;
        const auto id = static_cast<uint16_t>(image.EntryValue(slot) & 0xFFFF);
        if (id == 0 && count != 0) {
            image.SetEntryValue(slot, records[0].id);
            result.keysChanged = true;
            continue;
        }
        const auto found = std::find_if(records.begin(), records.end(), [id](const Macro& m) { return m.id == id; });
        // A macro made in the dialog that carries an old id is not the macro
        // the key was bound to: that one was deleted.
        if (found == records.end() || found->isNew == 1) {
            image.SetEntryKind(slot, keys::KeyAction::Default);
            result.keysChanged = true;
        }
    }
    result.committed = image.SetMacroRecords(std::move(block), count);
    return result;
}

}  // namespace trevolin::profiles
