// Header-only access to the simulated keyboard for tests and benchmarks.
//
// It dlopen()s "libquellink-sim.so" by name, exactly as the program under
// test does, so both get the same handle and so the same keyboard. Nothing
// needs to link the library. The library is never unloaded: its
// notification thread may be running until the process ends.
//
// Under ThreadSanitizer the dlopen interceptor becomes the caller, so the
// executable's RUNPATH ($ORIGIN) is not searched and the load by name
// fails. Then the library is loaded from the executable's own folder; its
// SONAME is "libquellink-sim.so", so a later load by name, the program's,
// still finds this same handle.
//
//   auto& kb = trevolin::sim::SimKeyboardControl::instance();
//   ASSERT_TRUE(kb.ok()) << kb.error();
//   kb.Init(0);
//   kb.QlSimUnplug();
//   kb.waitIdle();
#pragma once

#include "../quellink.h"
#include "QlSimControl.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <string>

namespace trevolin::sim {

class SimKeyboardControl {
public:
    static constexpr const char* kLibraryName = "libquellink-sim.so";

    // One per process, like the library itself.
    static SimKeyboardControl& instance()
    {
        static SimKeyboardControl control;
        return control;
    }

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    void* handle() const { return library_; }

    // The twelve calls of quellink.h.
    decltype(&::Init) Init = nullptr;
    decltype(&::End) End = nullptr;
    decltype(&::Debug) Debug = nullptr;
    decltype(&::RequestGetDeviceCount) RequestGetDeviceCount = nullptr;
    decltype(&::RequestWriteOne) RequestWriteOne = nullptr;
    decltype(&::RequestWrite) RequestWrite = nullptr;
    decltype(&::RequestAsyncRead) RequestAsyncRead = nullptr;
    decltype(&::RequestStatusWrite) RequestStatusWrite = nullptr;
    decltype(&::RequestStatusGet) RequestStatusGet = nullptr;
    decltype(&::RequestStatusSetFeature) RequestStatusSetFeature = nullptr;
    decltype(&::DeleteRequestFromUnitId) DeleteRequestFromUnitId = nullptr;
    decltype(&::DeleteRequestFromHandle) DeleteRequestFromHandle = nullptr;

    // The controls of QlSimControl.h.
    decltype(&::QlSimReset) QlSimReset = nullptr;
    decltype(&::QlSimPlug) QlSimPlug = nullptr;
    decltype(&::QlSimUnplug) QlSimUnplug = nullptr;
    decltype(&::QlSimSendConsumerCode) QlSimSendConsumerCode = nullptr;
    decltype(&::QlSimSetLatency) QlSimSetLatency = nullptr;
    decltype(&::QlSimDropReplies) QlSimDropReplies = nullptr;
    decltype(&::QlSimEchoOtherCommand) QlSimEchoOtherCommand = nullptr;
    decltype(&::QlSimFailStatus) QlSimFailStatus = nullptr;
    decltype(&::QlSimRefuseWrites) QlSimRefuseWrites = nullptr;
    decltype(&::QlSimLeaveBusAfter) QlSimLeaveBusAfter = nullptr;
    decltype(&::QlSimRunFaults) QlSimRunFaults = nullptr;
    decltype(&::QlSimLogCount) QlSimLogCount = nullptr;
    decltype(&::QlSimLogGet) QlSimLogGet = nullptr;
    decltype(&::QlSimLogClear) QlSimLogClear = nullptr;
    decltype(&::QlSimAreaSize) QlSimAreaSize = nullptr;
    decltype(&::QlSimReadArea) QlSimReadArea = nullptr;
    decltype(&::QlSimWriteArea) QlSimWriteArea = nullptr;
    decltype(&::QlSimGetStatusReport) QlSimGetStatusReport = nullptr;
    decltype(&::QlSimGetFeatureReport) QlSimGetFeatureReport = nullptr;
    decltype(&::QlSimWaitIdle) QlSimWaitIdle = nullptr;
    decltype(&::QlSimGetStatePath) QlSimGetStatePath = nullptr;

    // Waits until every queued report and notification has been handled.
    bool waitIdle(uint32_t timeoutMs = 10000) const { return QlSimWaitIdle && QlSimWaitIdle(timeoutMs) == 1; }

    std::string statePath() const
    {
        if (!QlSimGetStatePath)
            return {};
        char buffer[4096];
        const int32_t n = QlSimGetStatePath(buffer, sizeof buffer);
        return n > 0 && static_cast<uint32_t>(n) < sizeof buffer ? std::string(buffer, static_cast<size_t>(n))
                                                                 : std::string();
    }

    // The three collections of the keyboard.
    static QlUnitId unit(uint16_t usagePage, uint16_t usage) { return {15, 0x0C45, 0x5004, usagePage, usage, 0}; }
    static QlUnitId vendorUnit() { return unit(0xFF1C, 0x0092); }
    static QlUnitId consumerUnit() { return unit(0x000C, 0x0001); }
    static QlUnitId statusUnit() { return unit(0x0008, 0x0089); }

    SimKeyboardControl(const SimKeyboardControl&) = delete;
    SimKeyboardControl& operator=(const SimKeyboardControl&) = delete;

private:
    SimKeyboardControl()
    {
        library_ = dlopen(kLibraryName, RTLD_NOW);
        if (!library_) {
            const char* why = dlerror();
            const std::string byName = why ? why : "unknown error";
            const std::string beside = besideExecutable();
            if (!beside.empty())
                library_ = dlopen(beside.c_str(), RTLD_NOW);
            if (!library_) {
                error_ = std::string("cannot load ") + kLibraryName + ": " + byName;
                return;
            }
        }
#define TREVOLIN_SIM_RESOLVE(name) resolve(name, #name)
        TREVOLIN_SIM_RESOLVE(Init);
        TREVOLIN_SIM_RESOLVE(End);
        TREVOLIN_SIM_RESOLVE(Debug);
        TREVOLIN_SIM_RESOLVE(RequestGetDeviceCount);
        TREVOLIN_SIM_RESOLVE(RequestWriteOne);
        TREVOLIN_SIM_RESOLVE(RequestWrite);
        TREVOLIN_SIM_RESOLVE(RequestAsyncRead);
        TREVOLIN_SIM_RESOLVE(RequestStatusWrite);
        TREVOLIN_SIM_RESOLVE(RequestStatusGet);
        TREVOLIN_SIM_RESOLVE(RequestStatusSetFeature);
        TREVOLIN_SIM_RESOLVE(DeleteRequestFromUnitId);
        TREVOLIN_SIM_RESOLVE(DeleteRequestFromHandle);
        TREVOLIN_SIM_RESOLVE(QlSimReset);
        TREVOLIN_SIM_RESOLVE(QlSimPlug);
        TREVOLIN_SIM_RESOLVE(QlSimUnplug);
        TREVOLIN_SIM_RESOLVE(QlSimSendConsumerCode);
        TREVOLIN_SIM_RESOLVE(QlSimSetLatency);
        TREVOLIN_SIM_RESOLVE(QlSimDropReplies);
        TREVOLIN_SIM_RESOLVE(QlSimEchoOtherCommand);
        TREVOLIN_SIM_RESOLVE(QlSimFailStatus);
        TREVOLIN_SIM_RESOLVE(QlSimRefuseWrites);
        TREVOLIN_SIM_RESOLVE(QlSimLeaveBusAfter);
        TREVOLIN_SIM_RESOLVE(QlSimRunFaults);
        TREVOLIN_SIM_RESOLVE(QlSimLogCount);
        TREVOLIN_SIM_RESOLVE(QlSimLogGet);
        TREVOLIN_SIM_RESOLVE(QlSimLogClear);
        TREVOLIN_SIM_RESOLVE(QlSimAreaSize);
        TREVOLIN_SIM_RESOLVE(QlSimReadArea);
        TREVOLIN_SIM_RESOLVE(QlSimWriteArea);
        TREVOLIN_SIM_RESOLVE(QlSimGetStatusReport);
        TREVOLIN_SIM_RESOLVE(QlSimGetFeatureReport);
        TREVOLIN_SIM_RESOLVE(QlSimWaitIdle);
        TREVOLIN_SIM_RESOLVE(QlSimGetStatePath);
#undef TREVOLIN_SIM_RESOLVE
    }

    static std::string besideExecutable()
    {
        char path[4096];
        const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
        if (n <= 0)
            return {};
        const std::string exe(path, static_cast<size_t>(n));
        const size_t slash = exe.rfind('/');
        return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1) + kLibraryName;
    }

    template <typename Function>
    void resolve(Function& target, const char* name)
    {
        void* symbol = dlsym(library_, name);
        if (!symbol) {
            if (error_.empty())
                error_ = std::string(kLibraryName) + " lacks " + name;
            return;
        }
        // POSIX guarantees that a function's address survives this round trip.
        target = reinterpret_cast<Function>(symbol);
    }

    void* library_ = nullptr;
    std::string error_;
};

}  // namespace trevolin::sim
