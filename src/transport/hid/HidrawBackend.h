#pragma once

#include "HidBackend.h"

#include <mutex>

struct udev;
struct udev_monitor;

namespace ql::hid {

// The kernel's hidraw nodes, listed and watched through libudev.
//
// The hotplug monitor listens to udev's own events, which come after udev's
// rules have run: by then the access the rules grant is in place, so a node
// announced as added can be opened at once. Where no udev daemon runs, the
// kernel's events are the only ones, and there are no rules to wait for.
class HidrawBackend final : public HidBackend {
public:
    HidrawBackend();
    ~HidrawBackend() override;
    HidrawBackend(const HidrawBackend&) = delete;
    HidrawBackend& operator=(const HidrawBackend&) = delete;

    bool ready() const { return udev_ != nullptr; }

    std::optional<std::vector<DeviceEntry>> enumerate() override;
    OpenResult open(const std::string& path) override;
    std::vector<uint8_t> reportDescriptor(const std::string& path) override;
    int hotplugFd() override;
    std::vector<HotplugEvent> readHotplug() override;

private:
    std::mutex mutex_;  // a udev context is not to be used by two threads at once
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

}  // namespace ql::hid
