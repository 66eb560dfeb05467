// Wakeups per second of an idle process with the keyboard present: the
// program sits in the tray all day, and a library that wakes on a timer
// costs power for nothing. Counted from every thread's voluntary and
// involuntary context switches in /proc/self/task/*/status over 10 seconds,
// the measuring thread (asleep all along) left out. Goal: under 1.
//
// Three transports, each registered as the program registers them (consumer
// and vendor reads, the key-bank status, a count):
//   - the real library's code over the tests' scripted device set (one
//     keyboard: a configuration node and a boot node; sockets stand in for
//     hidraw, so its poll loops run as they do on hardware);
//   - the simulated keyboard, libquellink-sim.so;
//   - the real libquellink.so as built, on this machine (usually no keyboard).
#include "transport/QlChecksum.h"
#include "transport/hid/HidHarness.h"
#include "transport/quellink.h"

#include <dlfcn.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace {

constexpr QlUnitId kVendor{15, 0x0C45, 0x5004, 0xFF1C, 0x0092, 0};
constexpr QlUnitId kConsumer{15, 0x0C45, 0x5004, 0x000C, 0x0001, 0};
constexpr QlUnitId kStatus{15, 0x0C45, 0x5004, 0x0008, 0x0089, 0};
constexpr int kSeconds = 10;

uint32_t Ignore(const QlNotification*)
{
    return 1;
}

// The calls a transport is driven by here.
struct Calls {
    std::function<int32_t(const QlUnitId*, QlCallback, uint32_t, uint32_t, uint32_t*)> read;
    std::function<int32_t(const QlUnitId*, QlCallback, uint32_t, const uint8_t*, uint32_t, uint32_t, uint32_t*)> status;
    std::function<int32_t(const QlUnitId*, QlCallback, uint32_t, uint32_t, uint32_t*)> count;
};

int Register(const Calls& calls)
{
    uint32_t handle = 0;
    calls.read(&kConsumer, &Ignore, QL_TAG_CONS, ql::callSum(&kConsumer, &Ignore, QL_TAG_CONS, nullptr, 0), &handle);
    calls.read(&kVendor, &Ignore, QL_TAG_CTRL, ql::callSum(&kVendor, &Ignore, QL_TAG_CTRL, nullptr, 0), &handle);
    const uint8_t bank[2] = {0x05, 0x02};
    calls.status(&kStatus, &Ignore, QL_TAG_DEL, bank, 2, ql::callSum(&kStatus, &Ignore, QL_TAG_DEL, bank, 2), &handle);
    return calls.count(&kVendor, nullptr, 0, ql::callSum(&kVendor, nullptr, 0, nullptr, 0), nullptr);
}

long Switches(const std::string& skipTask)
{
    long total = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        if (task.path().filename() == skipTask)
            continue;
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
                total += std::stol(line.substr(line.find(':') + 1));
        }
    }
    return total;
}

void Measure(const char* name, int count)
{
    const std::string self = std::to_string(syscall(SYS_gettid));
    // Let what the registration started settle first.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const long before = Switches(self);
    std::this_thread::sleep_for(std::chrono::seconds(kSeconds));
    const long after = Switches(self);
    std::printf("%-58s keyboards %d  wakeups/s %.1f\n", name, count, static_cast<double>(after - before) / kSeconds);
    std::fflush(stdout);
}

void MeasureScripted()
{
    using namespace ql::hid::test;
    HidHarness h;
    h.devices->plug(bootNode(kBootPath));
    h.devices->plug(configNode(kConfigPath));
    auto& api = h.api;
    const Calls calls{
        [&](auto... a) { return api.asyncRead(a...); },
        [&](const QlUnitId* u, QlCallback cb, uint32_t tag, const uint8_t* d, uint32_t n, uint32_t sum,
            uint32_t* handle) { return api.statusWrite(u, cb, tag, d, n, sum, handle); },
        [&](const QlUnitId* u, QlCallback cb, uint32_t tag, uint32_t sum, uint32_t*) {
            return api.getDeviceCount(u, cb, tag, sum);
        },
    };
    const int count = Register(calls);
    h.poll();
    Measure("real library code, scripted keyboard", count);
}

void MeasureLibrary(const char* name, const std::filesystem::path& path)
{
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::printf("%-58s not measured: %s\n", name, dlerror());
        return;
    }
    auto init = reinterpret_cast<decltype(&Init)>(dlsym(library, "Init"));
    auto end = reinterpret_cast<decltype(&End)>(dlsym(library, "End"));
    const Calls calls{
        reinterpret_cast<decltype(&RequestAsyncRead)>(dlsym(library, "RequestAsyncRead")),
        reinterpret_cast<decltype(&RequestStatusWrite)>(dlsym(library, "RequestStatusWrite")),
        reinterpret_cast<decltype(&RequestGetDeviceCount)>(dlsym(library, "RequestGetDeviceCount")),
    };
    if (!init || !end || !calls.read || !calls.status || !calls.count || init(0) != 1) {
        std::printf("%-58s not measured: the library does not start\n", name);
        return;
    }
    Measure(name, Register(calls));
    end();
    // Left loaded, as the program leaves it.
}

}  // namespace

int main()
{
    const auto here = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    const auto state = std::filesystem::temp_directory_path() / ("trevolin-idle-" + std::to_string(getpid()) + ".sim");
    setenv("TREVOLIN_SIM_STATE", state.c_str(), 1);

    std::printf("idle wakeups per second over %d s (goal: under 1)\n", kSeconds);
    MeasureScripted();
    MeasureLibrary("simulated keyboard, libquellink-sim.so", here / "libquellink-sim.so");
    MeasureLibrary("libquellink.so on this machine", here / "libquellink.so");
    std::filesystem::remove(state);
    return 0;
}
