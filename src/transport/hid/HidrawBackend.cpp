#include "HidrawBackend.h"

#include "HidrawConnection.h"
#include "Log.h"
#include "ReportDescriptor.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include <fcntl.h>
#include <libudev.h>
#include <unistd.h>

namespace ql::hid {

namespace {

// "/dev/hidraw3" -> "hidraw3"; empty for anything that is not a hidraw node.
std::string nodeName(const std::string& path)
{
    constexpr std::string_view prefix = "/dev/hidraw";
    if (path.size() <= prefix.size() || path.size() > prefix.size() + 6 || path.compare(0, prefix.size(), prefix) != 0)
        return {};
    for (size_t i = prefix.size(); i < path.size(); ++i)
        if (path[i] < '0' || path[i] > '9')
            return {};
    return path.substr(5);
}

bool permissionError(int error)
{
    return error == EACCES || error == EPERM;
}

// HID_ID of the node's HID device: "0003:00000C45:00005004" (bus, vendor, product).
bool readIds(udev_device* hid, uint16_t& vendorId, uint16_t& productId)
{
    const char* id = udev_device_get_property_value(hid, "HID_ID");
    unsigned bus = 0, vendor = 0, product = 0;
    if (!id || std::sscanf(id, "%x:%x:%x", &bus, &vendor, &product) != 3 || vendor > 0xFFFF || product > 0xFFFF)
        return false;
    vendorId = static_cast<uint16_t>(vendor);
    productId = static_cast<uint16_t>(product);
    return true;
}

struct DeviceRef {
    udev_device* device;
    explicit DeviceRef(udev_device* d) : device(d) {}
    ~DeviceRef()
    {
        if (device)
            udev_device_unref(device);
    }
    DeviceRef(const DeviceRef&) = delete;
    DeviceRef& operator=(const DeviceRef&) = delete;
};

}  // namespace

HidrawBackend::HidrawBackend()
{
    udev_ = udev_new();
    if (!udev_) {
        Log::write(Log::kError, "udev_new failed");
        return;
    }
    // udev's events once its rules have run, or the kernel's where udev does not run.
    const bool udevRuns = ::access("/run/udev/control", F_OK) == 0;
    monitor_ = udev_monitor_new_from_netlink(udev_, udevRuns ? "udev" : "kernel");
    if (monitor_ && (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
                     udev_monitor_enable_receiving(monitor_) < 0)) {
        udev_monitor_unref(monitor_);
        monitor_ = nullptr;
    }
    if (monitor_) {
        // Every hotplug pass drains the monitor, so it must never block.
        const int fd = udev_monitor_get_fd(monitor_);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    } else {
        Log::write(Log::kError, "no hotplug monitor: the nodes are enumerated again every two seconds");
    }
}

HidrawBackend::~HidrawBackend()
{
    if (monitor_)
        udev_monitor_unref(monitor_);
    if (udev_)
        udev_unref(udev_);
}

std::optional<std::vector<DeviceEntry>> HidrawBackend::enumerate()
{
    std::lock_guard lock(mutex_);
    udev_enumerate* listing = udev_enumerate_new(udev_);
    if (!listing)
        return std::nullopt;
    if (udev_enumerate_add_match_subsystem(listing, "hidraw") < 0 || udev_enumerate_scan_devices(listing) < 0) {
        udev_enumerate_unref(listing);
        return std::nullopt;
    }
    std::vector<DeviceEntry> entries;
    udev_list_entry* item = nullptr;
    udev_list_entry_foreach(item, udev_enumerate_get_list_entry(listing))
    {
        DeviceRef node(udev_device_new_from_syspath(udev_, udev_list_entry_get_name(item)));
        if (!node.device)
            continue;
        const char* path = udev_device_get_devnode(node.device);
        // Parents belong to the child and are released with it.
        udev_device* hid = udev_device_get_parent_with_subsystem_devtype(node.device, "hid", nullptr);
        DeviceEntry entry;
        if (!path || !hid || !readIds(hid, entry.vendorId, entry.productId))
            continue;
        entry.path = path;
        // The interfaces of one USB keyboard share its USB device; other buses
        // have no such parent, and there the HID device's parent stands in.
        udev_device* usb = udev_device_get_parent_with_subsystem_devtype(node.device, "usb", "usb_device");
        udev_device* owner = usb ? usb : udev_device_get_parent(hid);
        const char* key = udev_device_get_syspath(owner ? owner : hid);
        entry.deviceKey = key ? key : path;
        entries.push_back(std::move(entry));
    }
    udev_enumerate_unref(listing);
    return entries;
}

OpenResult HidrawBackend::open(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0)
        return OpenResult{std::make_unique<HidrawConnection>(fd, path), OpenError::None};
    const int error = errno;
    Log::write(Log::kInfo, "cannot open %s: %s", path.c_str(), std::strerror(error));
    OpenResult result;
    if (permissionError(error))
        result.error = OpenError::Permission;
    else if (error == ENOENT || error == ENODEV || error == ENXIO)
        result.error = OpenError::Gone;
    else
        result.error = OpenError::Failed;
    return result;
}

std::vector<uint8_t> HidrawBackend::reportDescriptor(const std::string& path)
{
    const std::string name = nodeName(path);
    if (name.empty())
        return {};
    const std::string file = "/sys/class/hidraw/" + name + "/device/report_descriptor";
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::vector<uint8_t> bytes(ReportDescriptor::kMaxSize + 1);
    size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        filled += static_cast<size_t>(got);
    }
    ::close(fd);
    // One byte more than the limit means the file is not a descriptor we can use.
    if (filled > ReportDescriptor::kMaxSize)
        return {};
    bytes.resize(filled);
    return bytes;
}

int HidrawBackend::hotplugFd()
{
    std::lock_guard lock(mutex_);
    return monitor_ ? udev_monitor_get_fd(monitor_) : -1;
}

std::vector<HotplugEvent> HidrawBackend::readHotplug()
{
    std::vector<HotplugEvent> events;
    std::lock_guard lock(mutex_);
    if (!monitor_)
        return events;
    // The monitor's socket does not block: this ends when nothing is queued.
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        DeviceRef ref(device);
        const char* action = udev_device_get_action(device);
        const char* path = udev_device_get_devnode(device);
        if (!action || !path)
            continue;
        const std::string_view what(action);
        // "change" is what `udevadm trigger` sends after a rule was installed.
        if (what == "add" || what == "change" || what == "bind")
            events.push_back(HotplugEvent{HotplugEvent::Action::Added, path});
        else if (what == "remove")
            events.push_back(HotplugEvent{HotplugEvent::Action::Removed, path});
    }
    return events;
}

}  // namespace ql::hid
