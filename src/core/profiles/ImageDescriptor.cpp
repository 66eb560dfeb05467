#include "core/profiles/ImageDescriptor.h"

#include "core/device/Bytes.h"
#include "core/profiles/ProfileLayout.h"

#include <algorithm>

namespace trevolin::profiles {

void ImageDescriptor::Write(std::span<uint8_t> out)
{
    if (out.size() < DescriptorSize)
        return;
    uint8_t* p = out.data();
    std::fill_n(p, DescriptorSize, uint8_t{0});
    p[0] = 0x4B;
    p[1] = 0x48;
    p[2] = 0x20;
    p[3] = 0x00;
    device::PutLe32(p + 4, static_cast<uint32_t>(DescriptorSize + EntryCount * EntrySize));
    device::PutLe16(p + 8, static_cast<uint16_t>(LayerCount));
    device::PutLe16(p + 10, static_cast<uint16_t>(EntriesPerLayer));
    device::PutLe16(p + 16, VendorId);
    device::PutLe16(p + 18, ProductId);
    p[20] = 0x4F;
    p[21] = 0x1C;
    p[22] = 0x0E;
    p[23] = 0x00;
}

}  // namespace trevolin::profiles
