#pragma once

#include "Request.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace ql::hid {

// The registered requests, and the promise about their callbacks: once
// remove() returns, the request's callback is not running and is not called
// again. remove() waits for calls in progress on other threads, but not for
// the one it is called from, so a callback may delete its own request.
class RequestRegistry {
public:
    uint32_t add(const std::shared_ptr<Request>& request);
    bool remove(uint32_t handle);
    void clear();  // only once no library thread is left to call back
    std::vector<std::shared_ptr<Request>> snapshot() const;

    // Calls the request's callback unless it has been removed.
    void invoke(const std::shared_ptr<Request>& request, uint32_t kind, const QlRequestInfo& info);

    // Tests: called when remove() starts waiting for a callback in progress.
    void setWaitObserver(std::function<void()> observer);

private:
    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::map<uint32_t, std::shared_ptr<Request>> requests_;
    uint32_t nextHandle_ = 1;
    std::function<void()> waitObserver_;
};

}  // namespace ql::hid
