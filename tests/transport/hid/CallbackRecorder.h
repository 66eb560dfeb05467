#pragma once

#include "transport/quellink.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace ql::hid::test {

struct Notice {
    uint32_t kind = 0;
    uint32_t tag = 0;
    uint32_t count = 0;
    std::vector<uint8_t> data;
    uint16_t consumerCode = 0;
    std::thread::id thread;
};

// The callback the tests register: records every notification, lets a test
// wait for the ones it expects, and runs an optional hook inside the
// callback (after recording) to block, delete or unplug from there.
class CallbackRecorder {
public:
    static CallbackRecorder& instance();
    static uint32_t callback(const QlNotification* record);

    void reset();
    void setHook(std::function<void(const Notice&)> hook);

    std::vector<Notice> notices() const;
    std::vector<Notice> withTag(uint32_t tag) const;
    // The device counts (kind 0 notices) delivered with `tag`, in order.
    std::vector<uint32_t> countsOf(uint32_t tag) const;
    // Waits until at least `n` notices carry `tag`. False only when they never
    // come (the guard is minutes long: it ends a broken run, it paces nothing).
    bool waitFor(uint32_t tag, size_t n, std::chrono::milliseconds guard = std::chrono::minutes(2)) const;
    bool waitUntil(const std::function<bool(const std::vector<Notice>&)>& done,
                   std::chrono::milliseconds guard = std::chrono::minutes(2)) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Notice> notices_;
    std::function<void(const Notice&)> hook_;
};

}  // namespace ql::hid::test
