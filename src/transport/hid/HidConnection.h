#pragma once

#include <cstddef>
#include <cstdint>

namespace ql::hid {

// One open file on a hidraw node; closing it is destroying it. Buffers hold
// the report id first, as hidraw moves them. Every call returns the bytes
// moved, or one of the negative results below; an interrupted system call
// is retried inside, never reported.
class HidConnection {
public:
    static constexpr int kWouldBlock = -1;  // read: nothing queued now
    static constexpr int kGone = -2;        // ENODEV or EIO: the device is no more
    static constexpr int kFailed = -3;      // anything else: this call failed, the device may be fine

    virtual ~HidConnection() = default;

    // Readable when an input report is queued, hung up when the device went.
    virtual int fd() const = 0;
    // Never blocks.
    virtual int read(uint8_t* buffer, size_t capacity) = 0;
    virtual int write(const uint8_t* data, size_t length) = 0;
    virtual int sendFeature(const uint8_t* data, size_t length) = 0;
    virtual int getFeature(uint8_t* buffer, size_t length) = 0;
};

}  // namespace ql::hid
