#include "core/app/KeyboardWorker.h"

#include <algorithm>
#include <future>
#include <memory>

namespace trevolin::app {

KeyboardWorker::KeyboardWorker(Guard guard) : guard_(std::move(guard)), thread_([this] { Loop(); })
{
}

KeyboardWorker::~KeyboardWorker()
{
    Stop();
}

bool KeyboardWorker::Post(Task task, std::string coalesceKey)
{
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || !task)
            return false;
        // Only the last queued sequence is replaced: one of the same field
        // further back may have others after it that change what it means
        // (a colour, then multicolour on, then another colour).
        if (!coalesceKey.empty() && !queue_.empty() && queue_.back().key == coalesceKey) {
            queue_.back().task = std::move(task);
            return true;
        }
        queue_.push_back({std::move(task), std::move(coalesceKey)});
    }
    wake_.notify_one();
    return true;
}

bool KeyboardWorker::RunAndWait(Task task)
{
    // The task owns the promise: when Stop() drops the task before it ran,
    // the promise goes with it and the wait below ends as broken.
    auto done = std::make_shared<std::promise<void>>();
    auto finished = done->get_future();
    const bool posted = Post([task = std::move(task), done = std::move(done)] {
        // What the sequence throws reaches the caller, not the worker.
        try {
            task();
            done->set_value();
        } catch (...) {
            done->set_exception(std::current_exception());
        }
    });
    if (!posted)
        return false;
    try {
        finished.get();
    } catch (const std::future_error&) {
        return false;
    }
    return true;
}

bool KeyboardWorker::Busy() const
{
    std::lock_guard lock(mutex_);
    return running_ || !queue_.empty();
}

size_t KeyboardWorker::Pending() const
{
    std::lock_guard lock(mutex_);
    return queue_.size() + (running_ ? 1 : 0);
}

void KeyboardWorker::WaitIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !running_ && queue_.empty(); });
}

void KeyboardWorker::Stop()
{
    std::deque<Entry> dropped;
    {
        std::lock_guard lock(mutex_);
        if (stopping_ && !thread_.joinable())
            return;
        stopping_ = true;
        dropped.swap(queue_);
    }
    wake_.notify_all();
    idle_.notify_all();
    // Dropped tasks are destroyed outside the lock: a task's captures may
    // post (and be refused) or wait as they go.
    dropped.clear();
    if (thread_.joinable() && !OnWorkerThread())
        thread_.join();
}

bool KeyboardWorker::OnWorkerThread() const
{
    return std::this_thread::get_id() == thread_.get_id();
}

void KeyboardWorker::Loop()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_)
            break;
        Entry entry = std::move(queue_.front());
        queue_.pop_front();
        running_ = true;
        lock.unlock();
        {
            const std::shared_ptr<void> held = guard_ ? guard_() : nullptr;
            entry.task();
        }
        entry = {};
        lock.lock();
        running_ = false;
        if (queue_.empty())
            idle_.notify_all();
    }
    running_ = false;
    idle_.notify_all();
}

}  // namespace trevolin::app
