#include "RequestRegistry.h"

#include "Log.h"

#include <algorithm>

namespace ql::hid {

namespace {

// The requests whose callbacks this thread is inside, innermost last.
thread_local std::vector<const Request*> t_inside;

class InsideCallback {
public:
    explicit InsideCallback(const Request* request) { t_inside.push_back(request); }
    ~InsideCallback() { t_inside.pop_back(); }
    InsideCallback(const InsideCallback&) = delete;
    InsideCallback& operator=(const InsideCallback&) = delete;
};

int callsOnThisThread(const Request* request)
{
    return static_cast<int>(std::count(t_inside.begin(), t_inside.end(), request));
}

}  // namespace

uint32_t RequestRegistry::add(const std::shared_ptr<Request>& request)
{
    std::lock_guard lock(mutex_);
    uint32_t handle = nextHandle_;
    while (handle == 0 || requests_.count(handle) != 0)
        ++handle;
    nextHandle_ = handle + 1;
    request->handle = handle;
    requests_.emplace(handle, request);
    return handle;
}

bool RequestRegistry::remove(uint32_t handle)
{
    std::unique_lock lock(mutex_);
    const auto found = requests_.find(handle);
    if (handle == 0 || found == requests_.end())
        return false;
    const std::shared_ptr<Request> request = found->second;
    requests_.erase(found);
    request->removed = true;
    const int own = callsOnThisThread(request.get());
    if (request->running > own) {
        if (waitObserver_)
            waitObserver_();
        finished_.wait(lock, [&] { return request->running <= own; });
    }
    return true;
}

void RequestRegistry::clear()
{
    std::lock_guard lock(mutex_);
    for (auto& entry : requests_)
        entry.second->removed = true;
    requests_.clear();
}

std::vector<std::shared_ptr<Request>> RequestRegistry::snapshot() const
{
    std::vector<std::shared_ptr<Request>> all;
    std::lock_guard lock(mutex_);
    all.reserve(requests_.size());
    for (const auto& entry : requests_)
        all.push_back(entry.second);
    return all;
}

void RequestRegistry::invoke(const std::shared_ptr<Request>& request, uint32_t kind, const QlRequestInfo& info)
{
    {
        std::lock_guard lock(mutex_);
        if (request->removed)
            return;
        ++request->running;
    }
    {
        InsideCallback inside(request.get());
        const QlNotification record{kind, &info};
        try {
            request->callback(&record);
        } catch (...) {
            Log::write(Log::kError, "a callback threw; the exception was dropped");
        }
    }
    {
        std::lock_guard lock(mutex_);
        --request->running;
    }
    finished_.notify_all();
}

void RequestRegistry::setWaitObserver(std::function<void()> observer)
{
    std::lock_guard lock(mutex_);
    waitObserver_ = std::move(observer);
}

}  // namespace ql::hid
