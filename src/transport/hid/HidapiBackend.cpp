#include "HidapiBackend.h"

#include "HidapiConnection.h"
#include "Log.h"
#include "ReportDescriptor.h"

#include <hidapi.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <fcntl.h>
#include <unistd.h>

namespace ql::hid {

namespace {

// "/dev/hidraw3" -> "/sys/class/hidraw/hidraw3/device/report_descriptor",
// where hidapi itself reads it; anything that is not a hidraw node is refused.
std::string descriptorFile(const std::string& path)
{
    constexpr std::string_view prefix = "/dev/hidraw";
    if (path.size() <= prefix.size() || path.size() > prefix.size() + 6 || path.compare(0, prefix.size(), prefix) != 0)
        return {};
    for (size_t i = prefix.size(); i < path.size(); ++i)
        if (path[i] < '0' || path[i] > '9')
            return {};
    return "/sys/class/hidraw/" + path.substr(5) + "/device/report_descriptor";
}

bool permissionError(int error)
{
    return error == EACCES || error == EPERM;
}

std::mutex g_hidapi;
int g_backends = 0;  // hid_exit only once the last backend is gone

}  // namespace

HidapiBackend::HidapiBackend()
{
    std::lock_guard lock(g_hidapi);
    ready_ = hid_init() == 0;
    if (ready_)
        ++g_backends;
    else
        Log::write(Log::kError, "hid_init failed");
}

HidapiBackend::~HidapiBackend()
{
    std::lock_guard lock(g_hidapi);
    if (ready_ && --g_backends == 0)
        hid_exit();
}

std::vector<DeviceEntry> HidapiBackend::enumerate(uint16_t vendorId, uint16_t productId)
{
    std::vector<DeviceEntry> entries;
    std::lock_guard lock(g_hidapi);
    hid_device_info* list = hid_enumerate(vendorId, productId);
    for (const hid_device_info* info = list; info; info = info->next) {
        if (!info->path)
            continue;
        entries.push_back(DeviceEntry{info->path, info->vendor_id, info->product_id,
                                      CollectionUsage{info->usage_page, info->usage}});
    }
    hid_free_enumeration(list);
    return entries;
}

OpenResult HidapiBackend::open(const std::string& path)
{
    std::lock_guard lock(g_hidapi);
    errno = 0;
    hid_device* device = hid_open_path(path.c_str());
    const int openError = errno;
    if (device)
        return OpenResult{std::make_unique<HidapiConnection>(device), OpenError::None};

    // hidapi does not promise to keep errno, so ask the node itself as well.
    OpenResult result;
    if (permissionError(openError) || (::access(path.c_str(), R_OK | W_OK) != 0 && permissionError(errno)))
        result.error = OpenError::Permission;
    else if (openError == ENOENT || openError == ENODEV || openError == ENXIO)
        result.error = OpenError::Gone;
    else
        result.error = OpenError::Failed;
    Log::write(Log::kInfo, "cannot open %s: %s", path.c_str(), std::strerror(openError));
    return result;
}

std::vector<uint8_t> HidapiBackend::reportDescriptor(const std::string& path)
{
    const std::string file = descriptorFile(path);
    if (file.empty())
        return {};
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

}  // namespace ql::hid
