#include "core/macros/MacroList.h"

#include "core/keys/RawAction.h"
#include "core/macros/MacroText.h"

#include <algorithm>
#include <charconv>
#include <mutex>
#include <new>

namespace trevolin::macros {

using profiles::ProfileImage;
using profiles::ProfileStore;

namespace {

// Position of the first record with this id in the store's list, if any.
std::optional<size_t> FindStored(const ProfileImage& image, uint16_t id)
{
    for (size_t position = 0; position < image.MacroCount(); ++position) {
        if (Macro::ReadId(image.MacroRecord(position)) == id)
            return position;
    }
    return std::nullopt;
}

}  // namespace

int MacroPositionOfId(ProfileStore& store, uint16_t id)
{
    std::lock_guard guard(store.Lock());
    return static_cast<int>(FindStored(store.Image(), id).value_or(0));
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
    const auto position = FindStored(store.Image(), id);
    if (!position)
        return {};
    try {
        return Utf16ToUtf8(Macro::ReadName(store.Image().MacroRecord(*position)));
    } catch (const std::bad_alloc&) {
        return {};
    }
}

std::string MissingMacroText(uint16_t id)
{
    return "macro " + std::to_string(id) + ", which no longer exists";
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

std::optional<Macro> NewMacro(std::span<const Macro> list, std::u16string_view name)
{
    for (uint16_t id = Macro::MinId; id <= Macro::MaxId; ++id) {
        const bool used = std::any_of(list.begin(), list.end(), [id](const Macro& m) { return m.id == id; });
        if (used)
            continue;
        Macro macro;
        macro.name = CutMacroName(name);
        macro.playCount = 1;
        macro.isNew = 1;
        macro.id = id;
        return macro;
    }
    return std::nullopt;
}

MacroCommit CommitMacroList(ProfileStore& store, std::span<const Macro> records)
{
    MacroCommit result;
    if (records.size() > profiles::MaxMacroCount)
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
    for (size_t slot = 0; slot < profiles::EntryCount; ++slot) {
        if (image.EntryKind(slot) != KindMacro)
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
            image.SetEntryKind(slot, KindDefault);
            result.keysChanged = true;
        }
    }
    image.SetMacroRecords(std::move(block), count);
    result.committed = true;
    return result;
}

std::optional<size_t> FindMacroByIdOrName(std::span<const Macro> list, std::string_view reference)
{
    uint32_t id = 0;
    const auto [end, ec] = std::from_chars(reference.data(), reference.data() + reference.size(), id);
    if (ec == std::errc() && end == reference.data() + reference.size())
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].id == id)
                return i;
    for (size_t i = 0; i < list.size(); ++i)
        if (Utf16ToUtf8(list[i].name) == reference)
            return i;
    return std::nullopt;
}

}  // namespace trevolin::macros
