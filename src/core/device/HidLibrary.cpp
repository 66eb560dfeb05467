#include "core/device/HidLibrary.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

namespace trevolin::device {

bool HidLibrary::Complete() const
{
    return Init && End && Debug && RequestGetDeviceCount && RequestWriteOne && RequestWrite && RequestAsyncRead &&
           RequestStatusWrite && RequestStatusGet && RequestStatusSetFeature && DeleteRequestFromUnitId &&
           DeleteRequestFromHandle;
}

namespace {

template <typename Fn>
bool Resolve(void* handle, const char* name, Fn& slot, LoadResult& result)
{
    slot = reinterpret_cast<Fn>(dlsym(handle, name));
    if (!slot && result.error == LoadError::None) {
        result.error = LoadError::ExportMissing;
        result.detail = name;
    }
    return slot != nullptr;
}

}  // namespace

LoadResult LoadHidLibrary(const std::string& nameOrPath)
{
    LoadResult result;
    // RTLD_LOCAL keeps the library's exports from shadowing another
    // implementation of the same names loaded in the same process.
    void* handle = dlopen(nameOrPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle && nameOrPath.find('/') == std::string::npos) {
        // The executable's RUNPATH normally finds the library beside it;
        // look there directly too, for loaders that do not apply it (some
        // sanitizer runtimes intercept dlopen and lose the caller).
        const char* why = dlerror();
        result.detail = why ? why : nameOrPath;
        std::error_code ec;
        const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
        if (!ec)
            handle = dlopen((exe.parent_path() / nameOrPath).c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (!handle) {
        result.error = LoadError::LibraryMissing;
        if (result.detail.empty()) {
            const char* why = dlerror();
            result.detail = why ? why : nameOrPath;
        }
        return result;
    }
    HidLibrary& l = result.library;
    Resolve(handle, "Debug", l.Debug, result);
    Resolve(handle, "Init", l.Init, result);
    Resolve(handle, "End", l.End, result);
    Resolve(handle, "RequestGetDeviceCount", l.RequestGetDeviceCount, result);
    Resolve(handle, "DeleteRequestFromUnitId", l.DeleteRequestFromUnitId, result);
    Resolve(handle, "DeleteRequestFromHandle", l.DeleteRequestFromHandle, result);
    Resolve(handle, "RequestWrite", l.RequestWrite, result);
    Resolve(handle, "RequestWriteOne", l.RequestWriteOne, result);
    Resolve(handle, "RequestStatusWrite", l.RequestStatusWrite, result);
    Resolve(handle, "RequestStatusGet", l.RequestStatusGet, result);
    Resolve(handle, "RequestAsyncRead", l.RequestAsyncRead, result);
    Resolve(handle, "RequestStatusSetFeature", l.RequestStatusSetFeature, result);
    if (result.error != LoadError::None)
        result.library = HidLibrary{};
    else
        l.DescribeProblem = reinterpret_cast<decltype(l.DescribeProblem)>(dlsym(handle, "QlDescribeProblem"));
    // The handle stays open for the life of the process on purpose.
    return result;
}

std::string ChooseHidLibrary(const std::string& explicitPath, bool simulate)
{
    if (!explicitPath.empty())
        return explicitPath;
    if (simulate)
        return SimulatedHidLibrary;
    if (const char* env = std::getenv("TREVOLIN_HID_LIBRARY"); env && *env)
        return env;
    return DefaultHidLibrary;
}

DeviceProblem DescribeDeviceProblem(const HidLibrary& library)
{
    DeviceProblem problem;
    if (!library.DescribeProblem)
        return problem;
    char buffer[512] = {};
    problem.code = library.DescribeProblem(buffer, sizeof buffer);
    buffer[sizeof buffer - 1] = '\0';  // whatever the library wrote, it ends here
    if (problem.code < 0)
        problem.sentence = buffer;
    else
        problem.code = 0;
    return problem;
}

const char* LoadErrorText(LoadError error)
{
    switch (error) {
    case LoadError::None:
        return "loaded";
    case LoadError::LibraryMissing:
        return "the HID library could not be loaded";
    case LoadError::ExportMissing:
        return "the HID library lacks an entry point";
    case LoadError::InitFailed:
        return "the HID library failed to start";
    }
    return "unknown";
}

}  // namespace trevolin::device
