#pragma once

#include "HidConnection.h"

struct hid_device_;

namespace ql::hid {

// A hid_device opened with hid_open_path. hidapi keeps a per-device error
// string that every call rewrites, so one handle must never be used by two
// threads at once: DeviceNode gives its reader and its writers a handle each.
class HidapiConnection final : public HidConnection {
public:
    explicit HidapiConnection(hid_device_* device);
    ~HidapiConnection() override;
    HidapiConnection(const HidapiConnection&) = delete;
    HidapiConnection& operator=(const HidapiConnection&) = delete;

    int write(const uint8_t* data, size_t length) override;
    int read(uint8_t* buffer, size_t capacity, int timeoutMs) override;
    int sendFeature(const uint8_t* data, size_t length) override;
    int getFeature(uint8_t* buffer, size_t length) override;

private:
    hid_device_* device_;
};

}  // namespace ql::hid
