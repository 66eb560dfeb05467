#pragma once

#include "transport/quellink.h"

#include <string>

namespace trevolin::device {

enum class LoadError {
    None,
    LibraryMissing,  // dlopen failed
    ExportMissing,   // one of the twelve entry points is absent
    InitFailed,      // Init(0) returned 0 or less
};

// The transport library's twelve entry points. Loaded once with dlopen and
// never unloaded: its thread calls back into the program until the end.
struct HidLibrary {
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
    // Optional: only some libraries can say why no keyboard is usable.
    decltype(&::QlDescribeProblem) DescribeProblem = nullptr;

    bool Complete() const;
};

struct LoadResult {
    LoadError error = LoadError::None;
    std::string detail;  // the loader's message, or the missing export's name
    HidLibrary library;
};

inline constexpr const char* DefaultHidLibrary = "libquellink.so";
inline constexpr const char* SimulatedHidLibrary = "libquellink-sim.so";

// `nameOrPath` is a bare name (searched on the standard path and beside the
// executable) or a path. Resolves all twelve exports; does not call Init.
LoadResult LoadHidLibrary(const std::string& nameOrPath);

// The library to use: an explicit path wins, then the simulated keyboard when
// asked for, then TREVOLIN_HID_LIBRARY, then the real one.
std::string ChooseHidLibrary(const std::string& explicitPath, bool simulate);

const char* LoadErrorText(LoadError error);

struct DeviceProblem {
    int code = 0;          // 0 none, QL_ERR_PERMISSION, or another negative result
    std::string sentence;  // the library's own words
};
DeviceProblem DescribeDeviceProblem(const HidLibrary& library);

}  // namespace trevolin::device
