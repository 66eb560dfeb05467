#pragma once

#include "HidConnection.h"

#include <string>

namespace ql::hid {

// A hidraw node opened O_RDWR | O_NONBLOCK: reads, writes and the feature
// report ioctls all go through this one descriptor.
class HidrawConnection final : public HidConnection {
public:
    HidrawConnection(int fd, std::string path);
    ~HidrawConnection() override;
    HidrawConnection(const HidrawConnection&) = delete;
    HidrawConnection& operator=(const HidrawConnection&) = delete;

    int fd() const override { return fd_; }
    int read(uint8_t* buffer, size_t capacity) override;
    int write(const uint8_t* data, size_t length) override;
    int sendFeature(const uint8_t* data, size_t length) override;
    int getFeature(uint8_t* buffer, size_t length) override;

private:
    // The result of a call that failed with errno `error`.
    int failure(const char* what, int error) const;

    const int fd_;
    const std::string path_;
};

}  // namespace ql::hid
