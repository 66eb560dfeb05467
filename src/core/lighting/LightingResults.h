#pragma once

#include "core/device/ReportExchange.h"

namespace trevolin::lighting {

// Lighting operations return the device layer's results (1 done, 0, -1, -2,
// -102, -103) and this one: the request was turned down before anything
// was sent or changed (a value outside its range, a list index that names
// no entry, an effect the program does not handle, a key without a light,
// painting outside the per-key effect, no valid current profile).
inline constexpr int ResultRejected = device::ResultRejected;

// The read-back could not read the information block.
inline constexpr int ResultReadBackFailed = device::ResultReadBackFailed;

// The first result of a sequence that is not a success, else success.
inline void KeepFirstFailure(int& sequence, int result)
{
    if (sequence == device::ResultOk && result != device::ResultOk)
        sequence = result;
}

}  // namespace trevolin::lighting
