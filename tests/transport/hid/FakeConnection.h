#pragma once

#include "transport/hid/HidConnection.h"

#include <memory>

namespace ql::hid::test {

class FakeDeviceSet;

// One open handle of a FakeDeviceSet node; closed when destroyed.
class FakeConnection final : public HidConnection {
public:
    FakeConnection(std::shared_ptr<FakeDeviceSet> devices, int handle);
    ~FakeConnection() override;
    FakeConnection(const FakeConnection&) = delete;
    FakeConnection& operator=(const FakeConnection&) = delete;

    int write(const uint8_t* data, size_t length) override;
    int read(uint8_t* buffer, size_t capacity, int timeoutMs) override;
    int sendFeature(const uint8_t* data, size_t length) override;
    int getFeature(uint8_t* buffer, size_t length) override;

private:
    std::shared_ptr<FakeDeviceSet> devices_;
    int handle_;
};

}  // namespace ql::hid::test
