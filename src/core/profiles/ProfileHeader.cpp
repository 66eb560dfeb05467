#include "core/profiles/ProfileHeader.h"

#include "core/device/Bytes.h"
#include "core/profiles/ProfileLayout.h"

#include <algorithm>

namespace trevolin::profiles {

using device::GetLe16;
using device::GetLe32;
using device::PutLe16;
using device::PutLe32;

ProfileHeader ProfileHeader::Read(std::span<const uint8_t> bytes)
{
    ProfileHeader header;
    if (bytes.size() < HeaderSize)
        return header;
    const uint8_t* p = bytes.data();
    header.magic = GetLe16(p);
    header.headerSize = GetLe16(p + 2);
    header.word4 = GetLe16(p + 4);
    header.word6 = GetLe16(p + 6);
    header.totalSize = GetLe32(p + 8);
    header.entryCount = GetLe16(p + 12);
    header.macroCount = GetLe16(p + 14);
    header.stringBytes = GetLe32(p + 16);
    header.flags = p[30];
    header.checksum = p[ChecksumOffset];
    return header;
}

uint8_t ProfileHeader::ComputeChecksum(std::span<const uint8_t> bytes)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < std::min(bytes.size(), ChecksumOffset); ++i)
        sum += bytes[i];
    return static_cast<uint8_t>(sum);
}

uint64_t ProfileHeader::ImpliedSize() const
{
    return uint64_t{macroCount} * MacroRecordSize + stringBytes + FixedPartSize;
}

void BuildHeader(std::span<uint8_t> image, uint16_t macroCount, uint32_t stringBytes, uint8_t flags)
{
    if (image.size() < HeaderSize)
        return;
    uint8_t* p = image.data();
    std::fill_n(p, HeaderSize, uint8_t{0});
    PutLe16(p, ProfileHeader::Magic);
    PutLe16(p + 2, static_cast<uint16_t>(HeaderSize));
    PutLe16(p + 4, 3);
    PutLe16(p + 6, 1);
    PutLe32(p + 8, static_cast<uint32_t>(uint64_t{macroCount} * MacroRecordSize + stringBytes + FixedPartSize));
    PutLe16(p + 12, static_cast<uint16_t>(EntryCount));
    PutLe16(p + 14, macroCount);
    PutLe32(p + 16, stringBytes);
    p[30] = flags;
    p[ProfileHeader::ChecksumOffset] = ProfileHeader::ComputeChecksum(image.first(HeaderSize));
}

}  // namespace trevolin::profiles
