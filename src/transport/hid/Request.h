#pragma once

#include "../quellink.h"
#include "UnitMatch.h"

#include <cstdint>
#include <vector>

namespace ql::hid {

// A request the caller registered and may delete by its handle.
struct Request {
    enum class Kind {
        Read,    // RequestAsyncRead: input reports and device-count changes
        Status,  // RequestStatusWrite: a report the device keeps getting while the request lives
    };

    Request(Kind k, UnitMatch u, QlCallback cb, uint32_t t) : kind(k), unit(u), callback(cb), tag(t) {}

    const Kind kind;
    const UnitMatch unit;
    const QlCallback callback;
    const uint32_t tag;
    std::vector<uint8_t> status;  // Status: the report, set before registration

    // Guarded by HidTransport's state mutex.
    uint32_t announcedCount = 0;     // Read: the count the callback last heard of
    uint64_t announcedKeyboard = 0;  // Read: the keyboard that count was of
    uint64_t statusNode = 0;         // Status: serial of the node that last got the report

    // Guarded by RequestRegistry's mutex.
    uint32_t handle = 0;
    int running = 0;  // callbacks of this request in progress, on any thread
    bool removed = false;
};

}  // namespace ql::hid
