#pragma once

#include "transport/hid/HidConnection.h"

#include <memory>

namespace ql::hid::test {

class FakeDeviceSet;

// One open file of a FakeDeviceSet node: the library's end of a socket pair
// to poll and read; writes are recorded by the set. Closed when destroyed.
class FakeConnection final : public HidConnection {
public:
    FakeConnection(std::shared_ptr<FakeDeviceSet> devices, int handle, int fd);
    ~FakeConnection() override;
    FakeConnection(const FakeConnection&) = delete;
    FakeConnection& operator=(const FakeConnection&) = delete;

    int fd() const override { return fd_; }
    int read(uint8_t* buffer, size_t capacity) override;
    int write(const uint8_t* data, size_t length) override;
    int sendFeature(const uint8_t* data, size_t length) override;
    int getFeature(uint8_t* buffer, size_t length) override;

private:
    std::shared_ptr<FakeDeviceSet> devices_;
    int handle_;
    int fd_;
};

}  // namespace ql::hid::test
