#include "core/keys/KeyTable.h"

namespace trevolin::keys {

uint16_t GKeyMarker(size_t entry)
{
    if (entry < GKeyEntryFirst || entry >= GKeyEntryFirst + GKeyEntryCount)
        return 0;
    const size_t g = entry - GKeyEntryFirst;
    return g < 9 ? static_cast<uint16_t>(0x301 + g) : static_cast<uint16_t>(0x1301 + (g - 9));
}

void PutGKeyMarkers(KeyBlock& block)
{
    for (size_t entry = GKeyEntryFirst; entry < GKeyEntryFirst + GKeyEntryCount; ++entry)
        block[entry].extra = GKeyMarker(entry);
}

KeyTable KeyTable::New()
{
    KeyTable table;
    PutGKeyMarkers(table.blocks_[0]);
    return table;
}

KeyTable KeyTable::FromBytes(std::span<const uint8_t, KeyTableBytes> bytes)
{
    KeyTable table;
    for (size_t index = 0; index < KeyTableEntryCount; ++index)
        *table.Entry(index) = ReadKeyAction(bytes.subspan(index * KeyActionSize).first<KeyActionSize>());
    return table;
}

void KeyTable::ToBytes(std::span<uint8_t, KeyTableBytes> bytes) const
{
    for (size_t index = 0; index < KeyTableEntryCount; ++index)
        WriteKeyAction(*Entry(index), bytes.subspan(index * KeyActionSize).first<KeyActionSize>());
}

KeyBlock* KeyTable::Block(size_t block)
{
    return block < KeyTableBlockCount ? &blocks_[block] : nullptr;
}

const KeyBlock* KeyTable::Block(size_t block) const
{
    return block < KeyTableBlockCount ? &blocks_[block] : nullptr;
}

KeyAction* KeyTable::Entry(size_t index)
{
    return index < KeyTableEntryCount ? &blocks_[index / KeyBlockEntryCount][index % KeyBlockEntryCount] : nullptr;
}

const KeyAction* KeyTable::Entry(size_t index) const
{
    return index < KeyTableEntryCount ? &blocks_[index / KeyBlockEntryCount][index % KeyBlockEntryCount] : nullptr;
}

}  // namespace trevolin::keys
