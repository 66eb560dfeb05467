#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace trevolin::device {

// The 64-byte report every configuration exchange travels in:
//   0 report id (4), 1-2 checksum of bytes 3..63 (LE), 3 command, 4 length,
//   5-6 offset (LE), 7 status, 8-63 data.
class DeviceReport {
public:
    static constexpr size_t Size = 64;
    static constexpr size_t DataSize = 56;
    static constexpr size_t DataOffset = 8;
    static constexpr uint8_t ReportId = 4;

    DeviceReport();  // zero-filled, report id set
    DeviceReport(uint8_t command, uint8_t length, uint16_t offset);
    static DeviceReport FromBytes(const uint8_t* bytes, size_t length);  // copies/pads to 64

    uint8_t Command() const { return bytes_[3]; }
    uint8_t Length() const { return bytes_[4]; }
    uint16_t Offset() const;
    uint8_t Status() const { return bytes_[7]; }
    uint16_t StoredChecksum() const;
    uint16_t ComputeChecksum() const;

    void SetLength(uint8_t length) { bytes_[4] = length; }
    void SetOffset(uint16_t offset);
    void SetChecksum();  // last, after every other byte is in place

    uint8_t* Data() { return bytes_.data() + DataOffset; }
    const uint8_t* Data() const { return bytes_.data() + DataOffset; }
    uint8_t* Bytes() { return bytes_.data(); }
    const uint8_t* Bytes() const { return bytes_.data(); }
    uint8_t& operator[](size_t i) { return bytes_[i]; }
    uint8_t operator[](size_t i) const { return bytes_[i]; }

private:
    std::array<uint8_t, Size> bytes_{};
};

// Reply status bytes that mean the keyboard refused the request.
inline constexpr uint8_t StatusRefused = 0xFF;
inline constexpr uint8_t StatusBusy = 0xFE;

}  // namespace trevolin::device
