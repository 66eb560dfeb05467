#pragma once

#include "HidBackend.h"

namespace ql::hid {

// hidapi's hidraw backend. hid_init, hid_exit, hid_enumerate and
// hid_open_path share one global error string inside hidapi, so they are
// made one at a time across the process: after End, the old backend may be
// destroyed while a new one already works.
class HidapiBackend final : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    bool ready() const { return ready_; }

    std::vector<DeviceEntry> enumerate(uint16_t vendorId, uint16_t productId) override;
    OpenResult open(const std::string& path) override;
    std::vector<uint8_t> reportDescriptor(const std::string& path) override;

private:
    bool ready_ = false;
};

}  // namespace ql::hid
