#include "core/platform/TaskRunner.h"

namespace trevolin::platform {

void ThreadTaskRunner::Run(std::function<void()> task)
{
    std::lock_guard lock(mutex_);
    // Reap the workers that have finished, so a long session does not
    // collect a thread handle per keyboard notification.
    std::erase_if(workers_, [](Worker& w) {
        if (!w.done->load())
            return false;
        w.thread.join();
        return true;
    });
    auto done = std::make_shared<std::atomic<bool>>(false);
    workers_.push_back({std::thread([task = std::move(task), done] {
                            task();
                            done->store(true);
                        }),
                        done});
}

void ThreadTaskRunner::JoinAll()
{
    std::vector<Worker> workers;
    {
        std::lock_guard lock(mutex_);
        workers.swap(workers_);
    }
    for (auto& w : workers)
        w.thread.join();
}

}  // namespace trevolin::platform
