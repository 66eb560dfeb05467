#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace trevolin::platform {

// Where the device session starts its short-lived workers. The program runs
// each on a thread of its own; tests and the command line run them in place.
class TaskRunner {
public:
    virtual ~TaskRunner() = default;
    virtual void Run(std::function<void()> task) = 0;
    // Returns once every task started so far has finished.
    virtual void JoinAll() = 0;
};

class InlineTaskRunner final : public TaskRunner {
public:
    void Run(std::function<void()> task) override { task(); }
    void JoinAll() override {}
};

// One thread per task; all of them are joined before the runner goes away,
// so no worker outlives the session it works for.
class ThreadTaskRunner final : public TaskRunner {
public:
    ~ThreadTaskRunner() override { JoinAll(); }
    void Run(std::function<void()> task) override;
    void JoinAll() override;

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::mutex mutex_;
    std::vector<Worker> workers_;
};

}  // namespace trevolin::platform
