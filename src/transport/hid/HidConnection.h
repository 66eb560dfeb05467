#pragma once

#include <cstddef>
#include <cstdint>

namespace ql::hid {

// One open handle on a hidraw node; closing it is destroying it. Buffers
// hold the report id first, as hidraw moves them. Results follow hidapi:
// bytes moved, 0 when a read timed out, -1 on failure.
class HidConnection {
public:
    virtual ~HidConnection() = default;

    virtual int write(const uint8_t* data, size_t length) = 0;
    virtual int read(uint8_t* buffer, size_t capacity, int timeoutMs) = 0;
    virtual int sendFeature(const uint8_t* data, size_t length) = 0;
    virtual int getFeature(uint8_t* buffer, size_t length) = 0;
};

}  // namespace ql::hid
