#include "core/device/DeviceReport.h"

#include "core/device/Bytes.h"

#include <algorithm>

namespace trevolin::device {

DeviceReport::DeviceReport()
{
    bytes_[0] = ReportId;
}

DeviceReport::DeviceReport(uint8_t command, uint8_t length, uint16_t offset) : DeviceReport()
{
    bytes_[3] = command;
    bytes_[4] = length;
    SetOffset(offset);
}

DeviceReport DeviceReport::FromBytes(const uint8_t* bytes, size_t length)
{
    DeviceReport r;
    r.bytes_.fill(0);
    std::copy_n(bytes, std::min(length, Size), r.bytes_.begin());
    return r;
}

uint16_t DeviceReport::Offset() const
{
    return GetLe16(bytes_.data() + 5);
}

uint16_t DeviceReport::StoredChecksum() const
{
    return GetLe16(bytes_.data() + 1);
}

uint16_t DeviceReport::ComputeChecksum() const
{
    uint32_t sum = 0;
    for (size_t i = 3; i < Size; ++i)
        sum += bytes_[i];
    return static_cast<uint16_t>(sum);
}

void DeviceReport::SetOffset(uint16_t offset)
{
    PutLe16(bytes_.data() + 5, offset);
}

void DeviceReport::SetChecksum()
{
    PutLe16(bytes_.data() + 1, ComputeChecksum());
}

}  // namespace trevolin::device
