#pragma once

#include "core/platform/Clock.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace trevolin::device {

// Connects the one waiting sender with the library's notification thread.
// The reply is copied into the slot's own buffer under its lock and handed
// to the sender only while that sender is still waiting, so a reply that
// arrives after its exchange gave up can never land in a buffer the exchange
// no longer owns.
//
// A reply answers a request only when it carries the request's command and
// offset. A keyboard that answers just after the timeout delivers the echo
// of an earlier send while a later piece of a transfer waits; taken on the
// command byte alone it would shift every following piece by one.
class ReplySlot {
public:
    static constexpr uint32_t Capacity = 64;

    struct Expected {
        uint8_t command = 0;
        uint16_t offset = 0;
    };

    // Begins waiting for the reply to `expected` of at most `capacity`
    // bytes; drops any reply left over from an earlier attempt.
    void Arm(uint32_t capacity, Expected expected);
    void Disarm();
    bool Awaiting() const;

    // Ends the waiting sender's wait at once (as a failed wait) and every
    // later one: the session is stopping and the keyboard will not be heard.
    void Cancel();

    // Notification thread: true when the reply was taken; a reply to another
    // request is dropped as stale and the wait goes on.
    bool Deliver(const uint8_t* data, uint32_t count);

    // Waits for the reply; when it came, copies it to `out` (at most the
    // armed capacity) in the same step and sets `length`.
    platform::WaitResult Wait(platform::Clock& clock, uint32_t timeoutMs, uint8_t* out, uint32_t& length);

private:
    mutable std::mutex mutex_;
    std::condition_variable signal_;
    bool awaiting_ = false;
    bool signalled_ = false;
    bool cancelled_ = false;
    Expected expected_;
    uint32_t capacity_ = 0;
    uint32_t length_ = 0;
    std::array<uint8_t, Capacity> buffer_{};
};

}  // namespace trevolin::device
