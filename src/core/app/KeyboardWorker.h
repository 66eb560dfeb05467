#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace trevolin::app {

// The one thread that talks to the keyboard. A keyboard sequence takes from
// milliseconds to seconds (three seconds an exchange when the keyboard does
// not answer), so no window may run one on its own thread: it posts the
// sequence here and hears of the result through the sequence's own
// completion, which the window carries over to its thread.
//
// Sequences run one at a time, in the order they were posted. A sequence
// posted with a coalescing key replaces the last queued one when that has
// the same key and has not started yet: a dragged slider sends only its
// latest value, and nothing runs out of the order it was asked for.
class KeyboardWorker {
public:
    using Task = std::function<void()>;
    // Taken before each sequence and let go after it: the user's keyboard
    // lock, which keeps another program's sequences from mixing with ours.
    using Guard = std::function<std::shared_ptr<void>()>;

    explicit KeyboardWorker(Guard guard = {});
    ~KeyboardWorker();  // Stop()
    KeyboardWorker(const KeyboardWorker&) = delete;
    KeyboardWorker& operator=(const KeyboardWorker&) = delete;

    // False once stopped: the task is dropped.
    bool Post(Task task, std::string coalesceKey = {});

    // Posts `task` and waits until it has run (the command line works one
    // sequence after another); what the task throws is thrown here. False
    // when stopped before the task ran. Never call it from a task: it would
    // wait for itself.
    bool RunAndWait(Task task);

    // A sequence runs or waits.
    bool Busy() const;
    // Sequences posted and not yet finished.
    size_t Pending() const;

    // Waits until nothing runs or waits.
    void WaitIdle();

    // Drops what has not started, waits for the running sequence and ends
    // the thread. Later posts are refused. Called by the owner, never from
    // a task.
    void Stop();

    // True on the worker's own thread.
    bool OnWorkerThread() const;

private:
    struct Entry {
        Task task;
        std::string key;
    };

    void Loop();

    Guard guard_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Entry> queue_;
    bool running_ = false;  // a task is being run
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace trevolin::app
